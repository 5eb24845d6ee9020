#include "RunTool.h"
#include "SimulatorFixture.h"

#include <filesystem>

using namespace tensiq;

TEST(SimulatorProgram, ServesUntilStoppedAndCleansUp) {
    const std::string root = test::MakeTempFolder("tensiq-simprog-");
    const std::string dir = root + "/ports";
    const std::string script =
        std::string(TENSIQ_SIM) + " --dir " + dir +
        " --device 3 --noise 1 --id LC1.10 >/dev/null & p=$!; "
        "for i in $(seq 50); do [ -e " +
        dir + "/COM3 ] && break; sleep 0.1; done; " + "TENSIQ_PORT_DIR=" + dir +
        " XDG_CONFIG_HOME=" + root + " " + TENSIQ_CLI +
        " --port 3 version; kill -TERM $p; wait $p; echo exit=$?; ls " + dir + " 2>&1 | head -1";
    const auto result = test::RunTool("sh -c '" + script + "'");
    EXPECT_NE(result.out.find("Identification: LC1.10"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("exit=0"), std::string::npos) << result.out;
    EXPECT_FALSE(std::filesystem::exists(dir)) << result.out;
    std::filesystem::remove_all(root);
}

TEST(SimulatorProgram, RefusesUnknownFaultsAndBadReadings) {
    const std::string sim = TENSIQ_SIM;
    auto fault = test::RunTool(sim + " --dir /nonexistent/x --fault wobble");
    EXPECT_EQ(fault.status, 2);
    EXPECT_NE(fault.out.find("unknown fault: wobble"), std::string::npos) << fault.out;
    auto number = test::RunTool(sim + " --dir /nonexistent/x --fault bad-marker");
    EXPECT_EQ(number.status, 2);
    auto readings = test::RunTool(sim + " --dir /nonexistent/x --readings 1,2,3");
    EXPECT_EQ(readings.status, 2);
}

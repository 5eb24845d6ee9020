#include "DeviceLink.h"
#include "SimulatorFixture.h"

#include <clocale>
#include <string>

using namespace tensiq;

// The window runs under the user's locale, whose decimal point may be a comma.
using VersionLocaleTest = test::SimulatorFixture;

TEST_F(VersionLocaleTest, VersionIsReadWithAPointUnderAGermanLocale) {
    sim->AddDevice(1, Device("L 1.08"));
    sim->Start();
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "scripts/setup generates the de_DE.UTF-8 locale";
    DeviceLink link;
    ASSERT_TRUE(link.Open(1));
    link.QueryVersion();
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_FLOAT_EQ(link.FirmwareVersion(), 1.08f);
}

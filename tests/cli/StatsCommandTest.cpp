#include "RunTool.h"
#include "SimulatorFixture.h"
#include "WorkedRecord.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace tensiq;

namespace {

class StatsCommandTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder = test::MakeTempFolder("tensiq-stats-"); }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::string Write(const std::string& text) {
        const std::string path = m_folder + "/run.txt";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static test::ToolResult Stats(const std::string& args) {
        return test::RunTool(std::string("LC_ALL=de_DE.UTF-8 ") + TENSIQ_CLI + " stats " + args);
    }
    std::string m_folder;
};

} // namespace

TEST_F(StatsCommandTest, JsonGivesTheRangeStatisticsWithPointDecimals) {
    const std::string path = Write(test::WorkedRecord());
    const test::ToolResult r = Stats(path + " --from 2 --to 9 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["file"], path);
    EXPECT_EQ(j["date"], "07.12.2026 22:01:12");
    EXPECT_EQ(j["frames"], 8);
    EXPECT_EQ(j["from"], 2);
    EXPECT_EQ(j["to"], 9);
    ASSERT_EQ(j["ropes"].size(), 12u);
    EXPECT_EQ(j["ropes"][0]["rope"], 1);
    EXPECT_DOUBLE_EQ(j["ropes"][0]["mean"].get<double>(), 5.0);
    EXPECT_EQ(j["ropes"][0]["min"], 2);
    EXPECT_EQ(j["ropes"][0]["max"], 9);
    EXPECT_DOUBLE_EQ(j["ropes"][0]["std"].get<double>(), 2.0);
    EXPECT_EQ(j["ropes"][11]["rope"], 12);
    EXPECT_DOUBLE_EQ(j["total"]["mean"].get<double>(), 215.0);
    EXPECT_EQ(j["total"]["min"], 212);
    EXPECT_EQ(j["total"]["max"], 219);
    EXPECT_DOUBLE_EQ(j["spread_kg"].get<double>(), 105.0);
    EXPECT_NEAR(j["spread_percent"].get<double>(), 146.511627906976, 1e-9);

    const test::ToolResult all = Stats(path + " --json");
    ASSERT_EQ(all.status, 0) << all.out;
    const auto whole = nlohmann::json::parse(all.out);
    EXPECT_EQ(whole["frames"], 10);
    EXPECT_EQ(whole["to"], 10);
    EXPECT_EQ(whole["ropes"][0]["min"], -1000);

    const test::ToolResult text = Stats(path + " --from 2 --to 9");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("5.000"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("105.000 kg, 146.512 %"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("5,000"), std::string::npos) << "no comma from the German locale";
}

TEST_F(StatsCommandTest, MalformedRecordsAndRangesOutsideTheRecordExitWithTwo) {
    const std::string bad = test::WorkedRecord() + "1;2;3;\n";
    const std::string path = Write(bad);
    const test::ToolResult r = Stats(path + " --json");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find(path + ":12: the line holds 3 loads"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('{'), std::string::npos) << "no figures of a file that is cut short";

    const test::ToolResult before = Stats(path + " --to 9 --json");
    EXPECT_EQ(before.status, 0) << "the range ends before the bad line: " << before.out;

    EXPECT_EQ(Stats(path + " --from 3 --to 2").status, 2);
    EXPECT_EQ(Stats(Write(test::WorkedRecord()) + " --from 5 --to 11").status, 2);
    EXPECT_EQ(Stats(Write(test::WorkedRecord()) + " --from 11").status, 2);
    EXPECT_EQ(Stats(m_folder + "/missing.txt").status, 2);
    const test::ToolResult binary = Stats(Write(std::string("\x7f"
                                                            "ELF\x02\x01\x01\0\0",
                                                            9)));
    EXPECT_EQ(binary.status, 2);
    EXPECT_NE(binary.out.find("not a record"), std::string::npos) << binary.out;
}

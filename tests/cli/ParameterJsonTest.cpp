#include "ParameterJson.h"

#include <gtest/gtest.h>

using namespace tensiq;
using nlohmann::json;

namespace {

ParameterBlock Sample() {
    ParameterBlock b;
    for (std::size_t i = 0; i < ParameterBlock::kSize; ++i)
        b.bytes[i] = static_cast<std::uint8_t>(i + 1);
    b.SetRopeCount(12);
    b.SetFactor(2);
    b.SetSensorType(1);
    b.SetLiveZeroTenths(0);
    b.SetApplyToPayload(0);
    for (std::size_t i = 14; i <= 17; ++i)
        b.bytes[i] = 1;
    return b;
}

} // namespace

TEST(ParameterJson, RoundTripKeepsEveryFieldAndNeverTakesTheDevicesBytes) {
    const ParameterBlock read = Sample();
    json file = cli::BlockToJson(read);
    EXPECT_EQ(file["factor"], 2);
    EXPECT_EQ(file["reserved"].get<std::string>().size(), 10u);
    EXPECT_EQ(file["deviceData"].get<std::string>().size(), 198u);
    file["reserved"] = "0000000000";
    file["deviceData"] = "00";
    file["checksum"] = 0;
    file["tare"] = -300;
    ParameterBlock target = read;
    std::string error;
    ASSERT_TRUE(cli::OverlayJson(file, target, error)) << error;
    EXPECT_EQ(target.Tare(), -300);
    ParameterBlock expected = read;
    expected.SetTare(-300);
    EXPECT_EQ(target, expected) << "reserved, device bytes and checksum come from the device";
}

TEST(ParameterJson, KeysLeftOutKeepTheDevicesValues) {
    ParameterBlock target = Sample();
    std::string error;
    ASSERT_TRUE(cli::OverlayJson(json{{"ropeCount", 4}}, target, error)) << error;
    ParameterBlock expected = Sample();
    expected.SetRopeCount(4);
    EXPECT_EQ(target, expected);
}

TEST(ParameterJson, ValuesOutsideTheDevicesRangesAreRefusedByName) {
    const std::vector<std::pair<json, std::string>> refused = {
        {{{"fullScaleLoad", 32768}}, "fullScaleLoad"},
        {{{"tare", -32769}}, "tare"},
        {{{"ropeCount", 0}}, "ropeCount"},
        {{{"ropeCount", 13}}, "ropeCount"},
        {{{"factor", 0}}, "factor"},
        {{{"factor", 100}}, "factor"},
        {{{"liveZeroTenths", 100}}, "liveZeroTenths"},
        {{{"overloadContact", 2}}, "overloadContact"},
        {{{"sensorType", 4}}, "sensorType"},
        {{{"applyToPayload", -1}}, "applyToPayload"},
        {{{"tare", 12.5}}, "tare"},
        {{{"factor", "3"}}, "factor"},
        {{{"ropeCounts", 4}}, "ropeCounts"},
        {{{"ropeCount", 6}, {"factor", 200}}, "factor"},
        {json::parse(R"({"tare": 18446744073709551615})"), "tare"},
        {json::parse(R"({"fullScaleLoad": 9223372036854775808})"), "fullScaleLoad"},
        {json::parse(R"({"ropeCount": 18446744073709551628})"), "ropeCount"},
        {json::parse(R"({"factor": -9223372036854775808})"), "factor"},
    };
    for (const auto& [file, field] : refused) {
        ParameterBlock target = Sample();
        std::string error;
        EXPECT_FALSE(cli::OverlayJson(file, target, error)) << file.dump();
        EXPECT_NE(error.find(field), std::string::npos) << error;
        EXPECT_EQ(target, Sample()) << "a refused file changes nothing: " << file.dump();
    }
    ParameterBlock target = Sample();
    std::string error;
    EXPECT_FALSE(cli::OverlayJson(json::array({1, 2}), target, error));
    EXPECT_TRUE(
        cli::OverlayJson(json{{"tare", -32768}, {"factor", 99}, {"ropeCount", 1}}, target, error))
        << "the range limits themselves are allowed";
}

TEST(ParameterJson, AValueTheDeviceHoldsPassesEvenOutsideTheRange) {
    ParameterBlock device = Sample();
    device.SetFactor(0);
    device.SetRopeCount(40);
    ParameterBlock target = device;
    std::string error;
    ASSERT_TRUE(
        cli::OverlayJson(json{{"factor", 0}, {"ropeCount", 40}, {"tare", 5}}, target, error))
        << error;
    EXPECT_EQ(target.Tare(), 5);
    EXPECT_FALSE(cli::OverlayJson(json{{"factor", 0}, {"ropeCount", 39}}, target, error));
    EXPECT_NE(error.find("ropeCount"), std::string::npos) << error;
    EXPECT_FALSE(cli::OverlayJson(json{{"factor", 256}}, target, error)) << "not even storable";
}

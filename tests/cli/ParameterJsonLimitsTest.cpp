// Inputs that once broke the parameter file's checks.
#include "ParameterJson.h"

#include <gtest/gtest.h>

using namespace tensiq;
using nlohmann::json;

TEST(ParameterJsonLimits, NumbersBeyondALongLongAreOutOfRangeNotWrapped) {
    ParameterBlock block;
    block.SetTare(500);
    const ParameterBlock before = block;
    std::string error;
    for (const char* text :
         {R"({"tare": 18446744073709551615})", R"({"tare": 9223372036854775808})"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(cli::OverlayJson(json::parse(text), block, error));
        EXPECT_NE(error.find("outside"), std::string::npos) << error;
        EXPECT_EQ(block, before);
    }
}

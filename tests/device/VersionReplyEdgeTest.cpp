// Replies to V that the version parse once read differently from "L %f".
#include "VersionReply.h"

#include <gtest/gtest.h>

using namespace tensiq;

TEST(VersionReplyEdge, ASecondSignIsNoNumber) {
    float version = 7.0f;
    EXPECT_FALSE(ParseVersionReply("L--02", version));
    EXPECT_FALSE(ParseVersionReply("L -+1", version));
    EXPECT_FLOAT_EQ(version, 7.0f);
    ASSERT_TRUE(ParseVersionReply("L -1.5", version));
    EXPECT_FLOAT_EQ(version, -1.5f);
}

TEST(VersionReplyEdge, HexadecimalReadsAsPercentFDoes) {
    float version = 0.0f;
    ASSERT_TRUE(ParseVersionReply("L\f0X.97]", version));
    EXPECT_FLOAT_EQ(version, 0x0.97p0f);
    ASSERT_TRUE(ParseVersionReply("L 0x1p1", version));
    EXPECT_FLOAT_EQ(version, 2.0f);
    ASSERT_TRUE(ParseVersionReply("L 0x", version)) << "the 0 before an x alone";
    EXPECT_FLOAT_EQ(version, 0.0f);
}

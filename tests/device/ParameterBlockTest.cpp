#include "ParameterBlock.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace tensiq;

namespace {
unsigned Sum(const ParameterBlock& b, std::size_t count) {
    return std::accumulate(b.bytes.begin(), b.bytes.begin() + count, 0u) & 0xFF;
}
} // namespace

TEST(ParameterBlockChecksum, MakesTheSumOfAllBytesZero) {
    ParameterBlock b;
    EXPECT_EQ(b.ComputeChecksum(), 0x00) << "bytes summing to 0 get checksum 0";
    b.bytes[40] = 1;
    EXPECT_EQ(b.ComputeChecksum(), 0xFF) << "bytes summing to 1 get 0xFF";
    for (std::size_t i = 0; i < ParameterBlock::kSize; ++i)
        b.bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    b.SetChecksum();
    EXPECT_EQ(Sum(b, ParameterBlock::kSize), 0u);
    const std::uint8_t checksum = b.ComputeChecksum();
    b.bytes[127] ^= 0x5A;
    EXPECT_EQ(b.ComputeChecksum(), checksum) << "byte 127 itself never enters the sum";
}

TEST(ParameterBlockByteOrder, NineWordsTravelBigEndianEverythingElseUntouched) {
    ParameterBlock wire;
    for (std::size_t i = 0; i < ParameterBlock::kSize; ++i)
        wire.bytes[i] = static_cast<std::uint8_t>(i);
    wire.bytes[0] = 0x1F; // 8000 kg, high byte first
    wire.bytes[1] = 0x40;
    wire.bytes[2] = 0xFF; // -2
    wire.bytes[3] = 0xFE;
    ParameterBlock host = wire;
    host.SwapWords();
    EXPECT_EQ(host.FullScaleLoad(), 8000);
    EXPECT_EQ(host.Tare(), -2);
    EXPECT_EQ(host.EmptyLoadThreshold(), 0x0405);
    EXPECT_EQ(host.RopeDifference(), 0x0C0D);
    for (std::size_t at : ParameterBlock::kWordOffsets) {
        EXPECT_EQ(host.bytes[at], wire.bytes[at + 1]) << at;
        EXPECT_EQ(host.bytes[at + 1], wire.bytes[at]) << at;
    }
    for (std::size_t i : {14u, 15u, 18u, 19u, 24u, 25u, 26u, 27u, 28u, 100u, 126u, 127u})
        EXPECT_EQ(host.bytes[i], wire.bytes[i]) << i;
    host.SwapWords();
    EXPECT_EQ(host, wire) << "the swap goes back the same way";
}

TEST(ParameterBlockFields, SignedWordsAndFactor) {
    ParameterBlock b;
    b.SetOverloadThreshold(-32768);
    b.SetSlackRopeThreshold(32767);
    b.SetFactor(-1);
    EXPECT_EQ(b.OverloadThreshold(), -32768);
    EXPECT_EQ(b.SlackRopeThreshold(), 32767);
    EXPECT_EQ(b.bytes[19], 0xFF);
    EXPECT_EQ(b.Factor(), -1);
    b.SetRopeCount(12);
    b.SetSensorType(3);
    b.SetLiveZeroTenths(99);
    EXPECT_EQ(b.bytes[18], 12);
    EXPECT_EQ(b.bytes[27], 3);
    EXPECT_EQ(b.bytes[25], 99);
}

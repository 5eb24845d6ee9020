#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tensiq {

// The device's 128-byte settings block in host form: the nine 16-bit words in host order
// (they travel big-endian), every other byte as the device sent it. Weights in whole kg.
struct ParameterBlock {
    static constexpr std::size_t kSize = 128;
    static constexpr std::size_t kChecksumAt = 127;
    // The word offsets in the order the words are swapped.
    static constexpr std::array<std::size_t, 9> kWordOffsets = {2, 4, 6, 8, 10, 12, 20, 22, 0};

    std::array<std::uint8_t, kSize> bytes{};

    std::int16_t FullScaleLoad() const { return Word(0); }
    std::int16_t Tare() const { return Word(2); }
    std::int16_t EmptyLoadThreshold() const { return Word(4); }
    std::int16_t FullLoadThreshold() const { return Word(6); }
    std::int16_t OverloadThreshold() const { return Word(8); }
    std::int16_t SlackRopeThreshold() const { return Word(10); }
    std::int16_t RopeDifference() const { return Word(12); }
    // Relay contacts: 0 break, 1 make.
    std::uint8_t EmptyLoadContact() const { return bytes[14]; }
    std::uint8_t FullLoadContact() const { return bytes[15]; }
    std::uint8_t OverloadContact() const { return bytes[16]; }
    std::uint8_t SlackRopeContact() const { return bytes[17]; }
    std::uint8_t RopeCount() const { return bytes[18]; }
    std::int8_t Factor() const { return static_cast<std::int8_t>(bytes[19]); }
    std::uint8_t LiveZeroTenths() const { return bytes[25]; }
    std::uint8_t ApplyToPayload() const { return bytes[26]; }
    std::uint8_t SensorType() const { return bytes[27]; }
    std::uint8_t Checksum() const { return bytes[kChecksumAt]; }

    void SetFullScaleLoad(std::int16_t v) { SetWord(0, v); }
    void SetTare(std::int16_t v) { SetWord(2, v); }
    void SetEmptyLoadThreshold(std::int16_t v) { SetWord(4, v); }
    void SetFullLoadThreshold(std::int16_t v) { SetWord(6, v); }
    void SetOverloadThreshold(std::int16_t v) { SetWord(8, v); }
    void SetSlackRopeThreshold(std::int16_t v) { SetWord(10, v); }
    void SetRopeDifference(std::int16_t v) { SetWord(12, v); }
    void SetEmptyLoadContact(std::uint8_t v) { bytes[14] = v; }
    void SetFullLoadContact(std::uint8_t v) { bytes[15] = v; }
    void SetOverloadContact(std::uint8_t v) { bytes[16] = v; }
    void SetSlackRopeContact(std::uint8_t v) { bytes[17] = v; }
    void SetRopeCount(std::uint8_t v) { bytes[18] = v; }
    void SetFactor(std::int8_t v) { bytes[19] = static_cast<std::uint8_t>(v); }
    void SetLiveZeroTenths(std::uint8_t v) { bytes[25] = v; }
    void SetApplyToPayload(std::uint8_t v) { bytes[26] = v; }
    void SetSensorType(std::uint8_t v) { bytes[27] = v; }

    // Reserved bytes 20-24 and the device's own bytes 28-126: carried, never interpreted.
    static constexpr std::size_t kReservedAt = 20, kReservedSize = 5;
    static constexpr std::size_t kDeviceDataAt = 28, kDeviceDataSize = 99;

    // Between host and wire form; the same swap goes both ways.
    void SwapWords();
    // The byte 127 that makes the 8-bit sum of all 128 bytes zero.
    std::uint8_t ComputeChecksum() const;
    void SetChecksum() { bytes[kChecksumAt] = ComputeChecksum(); }

    bool operator==(const ParameterBlock&) const = default;

private:
    std::int16_t Word(std::size_t at) const {
        return static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
    void SetWord(std::size_t at, std::int16_t v) {
        const auto u = static_cast<std::uint16_t>(v);
        bytes[at] = static_cast<std::uint8_t>(u & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>(u >> 8);
    }
};

// Swaps the two bytes of one 16-bit word in place.
void SwapBytes(std::uint8_t* word);

} // namespace tensiq

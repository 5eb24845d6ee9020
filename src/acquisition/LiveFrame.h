#pragma once
#include <array>
#include <cstdint>

namespace tensiq {

inline constexpr int kRopes = 12;

// One frame of the device's live stream: marker 'L', byte 1 free, then per rope a signed
// little-endian reading and a status flag, byte 38 free, terminator 0x0D.
struct LiveFrame {
    static constexpr std::size_t kSize = 40;
    static constexpr std::uint8_t kMarker = 0x4C;
    static constexpr std::uint8_t kTerminator = 0x0D;

    std::array<std::uint8_t, kSize> bytes{};

    bool IsValid() const { return bytes[0] == kMarker && bytes[kSize - 1] == kTerminator; }
    std::int16_t RawReading(int rope) const {
        return static_cast<std::int16_t>(bytes[2 + 3 * rope] | (bytes[3 + 3 * rope] << 8));
    }
    // A negative reading counts as no load.
    int Reading(int rope) const {
        const int raw = RawReading(rope);
        return raw < 0 ? 0 : raw;
    }
    bool Marked(int rope) const { return bytes[4 + 3 * rope] != 0; }
    // Bytes 1 and 38: not interpreted by the program; the simulator numbers its frames there.
    std::uint16_t Tag() const { return static_cast<std::uint16_t>(bytes[1] | (bytes[38] << 8)); }
};

} // namespace tensiq

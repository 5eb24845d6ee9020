#pragma once
// The measuring device at the far end of a port, byte for byte as it behaves on the wire.
#include "PortRole.h"
#include "SettlingLoads.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace tensiq::sim {

inline constexpr std::size_t kBlockSize = 128;
inline constexpr std::size_t kImageSize = 8192;
inline constexpr std::size_t kFrameSize = 40;

// Ways to make the device misbehave, each the failure of one step of a transaction.
struct DeviceFaults {
    bool neverSilent = false;         // X does not end a stream
    bool shortIdentification = false; // V answered with five bytes
    bool wrongEcho = false;           // D echoed as something else
    bool wrongTerminator = false;     // the block ends with something other than 0x0D
    bool shortBlock = false;          // only 100 of the 128 block bytes
    enum class StoreReply { Normal, None, Short, WrongFirst, WrongSecond };
    StoreReply storeReply = StoreReply::Normal;
    int storeDiffersAt = -1; // byte of a written block that the device keeps changed
    bool noImageAck = false; // the image write is not acknowledged
    int imageDiffersAt = -1; // byte of a written image that the device keeps changed
    // Stream faults.
    int badMarkerEvery = 0;        // every Nth frame has a wrong first byte
    int badTerminatorEvery = 0;    // every Nth frame has a wrong last byte
    int dropByteEvery = 0;         // every Nth frame loses one byte
    bool noCarriageReturn = false; // the stream never carries 0x0D
    int hangUpAfterFrames = 0;     // the line goes dead after that many frames
};

struct DeviceConfig {
    std::string identification = "L 1.08"; // always sent as six bytes, zero-padded
    double frameRate = 25.0;
    std::array<std::int16_t, 12> readings{};
    std::array<std::uint8_t, 12> flags{};
    bool ripple = true; // readings wander a little around their values, as real loads do
    // The ropes settle from their readings toward their mean over this many seconds, the
    // total unchanged (ripple is then not used); 0: off.
    double settleSeconds = 0;
    // Ropes 11 and 12 carry the frame's number instead (see FrameNumberReadings), so a soak run
    // can tell from a record line which frame it came from.
    bool numberedReadings = false;
    std::array<std::uint8_t, kBlockSize> block{}; // the parameter memory, wire order
    std::vector<std::uint8_t> image;              // the memory image, kImageSize bytes
    DeviceFaults faults;

    static DeviceConfig Default();
};

// Counters that tests and the tools read while the device runs.
struct DeviceCounters {
    std::atomic<int> identifyRequests{0};
    std::atomic<int> quietCommands{0};
    std::atomic<int> blockReads{0};
    std::atomic<int> blocksStored{0};
    std::atomic<int> confirmations{0}; // Y
    std::atomic<int> imageReads{0};
    std::atomic<int> imagesStored{0};
    std::atomic<int> imageBytesReceived{0}; // of the image write under way
    std::atomic<int> streamStarts{0};
    std::atomic<long> framesSent{0};
};

// A frame number as the readings of ropes 11 and 12: each a 16-bit value of two base-255
// digits with 0x0D left out and the high byte below 0x80, so no reading is negative and no byte
// but the terminator is 0x0D. FrameNumberFromReadings undoes it; -1 for readings it never makes.
std::array<std::int16_t, 2> FrameNumberReadings(long number);
long FrameNumberFromReadings(int rope11, int rope12);

class DeviceModel : public PortRole {
public:
    explicit DeviceModel(DeviceConfig config);

    void OnInput(const std::uint8_t* data, std::size_t count, Output& out) override;
    void OnTime(Clock::time_point now, Output& out) override;
    std::optional<Clock::time_point> NextDue() const override;

    DeviceConfig& Config() { return m_config; }
    const DeviceCounters& Counters() const { return m_counters; }
    bool Streaming() const { return m_streaming; }

private:
    enum class Mode { Command, AfterB, AfterBN, BlockIn, StoreIn, ImageIn };
    void OnByte(std::uint8_t byte, Output& out);
    void Command(std::uint8_t byte, Output& out);
    void SendBlock(Output& out);
    void SendFrame(Output& out);
    void StoreBlock(Output& out);

    DeviceConfig m_config;
    DeviceCounters m_counters;
    Mode m_mode = Mode::Command;
    bool m_streaming = false;
    bool m_dead = false;
    std::vector<std::uint8_t> m_incoming;
    std::vector<std::uint8_t> m_received;
    std::size_t m_storeIndex = 0;
    Clock::time_point m_nextFrame{};
    std::uint32_t m_sequence = 0;
    long m_frameNumber = 0;
    SettlingLoads m_settling;
    bool m_settlingStarted = false;
};

} // namespace tensiq::sim

#pragma once
#include "ChunkPacer.h"
#include "ParameterBlock.h"
#include "SerialPort.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tensiq {

class Profile;

inline constexpr int kLinkBaudRate = 230400;
inline constexpr int kPauseMs = 50;
inline constexpr int kWaitPauses = 20;

// Command bytes of the device.
namespace cmd {
inline constexpr std::uint8_t kQuiet = 0x58;                                    // X
inline constexpr std::uint8_t kIdentify = 0x56;                                 // V
inline constexpr std::uint8_t kReadBlock = 0x44;                                // D
inline constexpr std::uint8_t kWriteBlock = 0x57;                               // W
inline constexpr std::uint8_t kConfirm = 0x59;                                  // Y
inline constexpr std::uint8_t kPrefix = 0x42;                                   // B
inline constexpr std::uint8_t kStream1 = 0x4E;                                  // N
inline constexpr std::uint8_t kStream2 = 0x53;                                  // S
inline constexpr std::uint8_t kImageRead = 0x4B;                                // K
inline constexpr std::uint8_t kImageWrite = 0x4C;                               // L
inline constexpr std::array<std::uint8_t, 4> kStore = {0x50, 0x52, 0x4F, 0x47}; // PROG
inline constexpr std::uint8_t kTerminator = 0x0D;
} // namespace cmd

// The device's memory image: the device moves 8192 bytes, the program keeps the first 8160.
inline constexpr std::size_t kImageSize = 8160;
inline constexpr std::size_t kImageWireSize = 8192;
// The image goes out in chunks of four bytes, at least 1 ms apart.
inline constexpr std::size_t kImageChunk = 4;
inline constexpr auto kImageChunkGap = std::chrono::milliseconds(1);
using DeviceImage = std::array<std::uint8_t, kImageSize>;

// Results of WriteParameters: 0 success, else the step that failed.
enum WriteResult : int {
    kWriteOk = 0,
    kWriteNotOpen = 1,
    kWriteQuietNotSent = 2,
    kWriteNotSilent = 3,
    kWriteCommandNotSent = 4,
    kWriteBlockNotSent = 5,
    kWriteStoreByte1NotSent = 6, // 6 to 9: P R O G
    kWriteNoStoreReply = 10,
    kWriteStoreReplyShort = 11,
    kWriteStoreReplyFirstWrong = 12,
    kWriteStoreReplySecondWrong = 13,
    kWriteReadBackFailed = 14,
    kWriteReadBackDiffers = 15,
    kWriteConfirmNotSent = 16,
};
// What went wrong, in a sentence for the user.
std::string WriteResultText(int result);

// Set for good when the discovered device identifies itself with C or c as its second letter.
extern int g_ropeDifferenceVariant;

// The connected device: its port, its firmware version, and the protocol it speaks.
class DeviceLink {
public:
    explicit DeviceLink(Profile* profile = nullptr) : m_profile(profile) {}
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    virtual ~DeviceLink() = default;

    void SetProfile(Profile* profile) { m_profile = profile; }

    bool Open(int port);
    bool OpenDevice(const std::string& path);
    bool Close() { return m_port.Close(); }
    bool IsOpen() const { return m_port.IsOpen(); }
    int Read(void* buffer, int maximum) { return m_port.Read(buffer, maximum); }
    int BytesWaiting() const { return m_port.BytesWaiting(); }
    int Buffered() const { return m_port.Buffered(); }
    // A wait until deadline that ends once count bytes can be read; no pause.
    bool WaitForBytesUntil(int count, std::chrono::steady_clock::time_point deadline) {
        return m_port.WaitForBytesUntil(count, deadline);
    }
    // A pause of at most milliseconds that ends once count bytes can be read; counted and
    // observed like every other pause. On a thread with an armed ReadDeadline it costs a single
    // read.
    bool PauseForBytes(int count, int milliseconds);
    bool HungUp() const { return m_port.HungUp(); }
    SerialPort& Port() { return m_port; }

    bool StopStreaming();
    bool StartStreaming();
    void QueryVersion();
    float FirmwareVersion() const { return m_firmwareVersion; }
    // The text of the last identification reply that QueryVersion received.
    const std::string& VersionReply() const { return m_versionReply; }

    // The port at which the device answers, or -1; skips skipPort (-1: none).
    int DiscoverPort(int skipPort);
    // The identification of the device that the last DiscoverPort accepted.
    const std::string& DiscoveredIdentification() const { return m_discovered; }
    // Ports the last discovery could not probe because another program holds them. While one
    // is, a failed discovery leaves the remembered port alone: the device may be right there.
    const std::vector<int>& BusyPorts() const { return m_busyPorts; }

    // The probe of an open port: true when a device identifies itself; reply gets its text.
    static bool Probe(SerialPort& port, std::string& reply);
    static bool IsKnownIdentification(const std::string& reply);
    // Sets the rope-difference variant flag for a reply with C or c as its second letter.
    static void ApplyReplyLetters(const std::string& reply);

    // The parameter block, in host form.
    bool ReadParameters(ParameterBlock& destination);
    int WriteParameters(ParameterBlock block);

    // The memory image. WriteImage refuses until an image was read or set: what it would
    // send otherwise is undefined and lands in the device's memory.
    bool ReadImage();
    bool WriteImage();
    const DeviceImage& Image() const { return m_image; }
    void SetImage(const DeviceImage& image) {
        m_image = image;
        m_hasImage = true;
    }
    bool HasImage() const { return m_hasImage; }
    // The clock the image write paces its chunks by; null: the system's.
    void SetPacerTiming(ChunkPacer::Timing* timing) { m_pacerTiming = timing; }

    // The shared waiting rules of every transaction.
    void Drain();
    bool SilenceWait();
    // X, drain, silence wait: how every transaction but the parameter write begins.
    bool Quieten();
    bool ByteWait(std::uint8_t& byte);
    bool QueueWait(int count);

protected:
    bool Send(std::uint8_t byte) { return m_port.Write(&byte, 1) == 1; }

    SerialPort m_port;
    float m_firmwareVersion = 0.0f;
    std::string m_versionReply;
    std::string m_discovered;
    std::vector<int> m_busyPorts;
    DeviceImage m_image{};
    bool m_hasImage = false;
    ChunkPacer::Timing* m_pacerTiming = nullptr;
    Profile* m_profile = nullptr;
};

// Every protocol pause goes through here, so the waiting rules can be checked by counting.
void Pause(int milliseconds);
// Pauses made by the calling thread so far.
std::uint64_t PausesOnThisThread();
// Called after each pause of the calling thread (tests feed a line at chosen pauses); empty
// to stop.
void ObservePausesOnThisThread(std::function<void(int milliseconds)> observer);

} // namespace tensiq

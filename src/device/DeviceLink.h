#pragma once
#include "SerialPort.h"

#include <array>
#include <cstdint>
#include <string>

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
    bool WaitForInput(int timeoutMs) const { return m_port.WaitForInput(timeoutMs); }
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

    // The probe of an open port: true when a device identifies itself; reply gets its text.
    static bool Probe(SerialPort& port, std::string& reply);
    static bool IsKnownIdentification(const std::string& reply);
    // Sets the rope-difference variant flag for a reply with C or c as its second letter.
    static void ApplyReplyLetters(const std::string& reply);

    // The shared waiting rules of every transaction.
    void Drain();
    bool SilenceWait();
    bool ByteWait(std::uint8_t& byte);
    bool QueueWait(int count);

protected:
    bool Send(std::uint8_t byte) { return m_port.Write(&byte, 1) == 1; }

    SerialPort m_port;
    float m_firmwareVersion = 0.0f;
    std::string m_versionReply;
    std::string m_discovered;
    Profile* m_profile = nullptr;
};

void Pause(int milliseconds);

} // namespace tensiq

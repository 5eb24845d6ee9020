#include "DeviceLink.h"

#include "VersionReply.h"

#include <chrono>
#include <thread>

namespace tensiq {

int g_ropeDifferenceVariant = 0;

namespace {
thread_local std::uint64_t t_pauses = 0;
thread_local std::function<void(int)> t_pauseObserver;
} // namespace

namespace {
void CountPause(int milliseconds) {
    ++t_pauses;
    if (t_pauseObserver)
        t_pauseObserver(milliseconds);
}
} // namespace

void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    CountPause(milliseconds);
}

bool DeviceLink::PauseForBytes(int count, int milliseconds) {
    const bool got = m_port.WaitForBytesUntil(count, std::chrono::steady_clock::now() +
                                                         std::chrono::milliseconds(milliseconds));
    CountPause(milliseconds);
    return got;
}

std::uint64_t PausesOnThisThread() {
    return t_pauses;
}

void ObservePausesOnThisThread(std::function<void(int)> observer) {
    t_pauseObserver = std::move(observer);
}

bool DeviceLink::Open(int port) {
    if (m_port.IsOpen())
        return true;
    return m_port.Open(port, kLinkBaudRate);
}

bool DeviceLink::OpenDevice(const std::string& path) {
    if (m_port.IsOpen())
        return true;
    return m_port.OpenDevice(path, kLinkBaudRate);
}

void DeviceLink::Drain() {
    std::uint8_t scrap[270];
    while (m_port.BytesWaiting() > 0)
        if (m_port.Read(scrap, sizeof scrap) == 0)
            break;
}

// The device must fall silent within 19 pauses: the 20th pause fails even if its read was empty.
bool DeviceLink::SilenceWait() {
    std::uint8_t byte;
    int pauses = 0;
    bool got = m_port.Read(&byte, 1) == 1;
    while (got) {
        Pause(kPauseMs);
        ++pauses;
        got = m_port.Read(&byte, 1) == 1;
        if (pauses >= kWaitPauses)
            return false;
    }
    return true;
}

bool DeviceLink::ByteWait(std::uint8_t& byte) {
    int pauses = 0;
    bool got = m_port.Read(&byte, 1) == 1;
    while (!got) {
        Pause(kPauseMs);
        ++pauses;
        got = m_port.Read(&byte, 1) == 1;
        if (pauses >= kWaitPauses)
            return false;
    }
    return true;
}

bool DeviceLink::QueueWait(int count) {
    int pauses = 0;
    bool enough = m_port.BytesWaiting() >= count;
    while (!enough) {
        Pause(kPauseMs);
        ++pauses;
        enough = m_port.BytesWaiting() >= count;
        if (pauses >= kWaitPauses)
            return false;
    }
    return true;
}

bool DeviceLink::Quieten() {
    if (!Send(cmd::kQuiet))
        return false;
    Drain();
    return SilenceWait();
}

bool DeviceLink::StopStreaming() {
    if (!Send(cmd::kQuiet))
        return false;
    Drain();
    return true;
}

bool DeviceLink::StartStreaming() {
    if (!m_port.IsOpen())
        return false;
    if (!Send(cmd::kQuiet))
        return false;
    Drain();
    for (const std::uint8_t byte : {cmd::kPrefix, cmd::kStream1, cmd::kStream2}) {
        Pause(100);
        if (!Send(byte))
            return false;
    }
    Pause(100);
    return true;
}

void DeviceLink::QueryVersion() {
    if (!m_port.IsOpen())
        return;
    if (!Send(cmd::kQuiet) || !SilenceWait())
        return;
    if (!Send(cmd::kIdentify))
        return;
    Pause(kPauseMs);
    char reply[7] = {};
    const int got = m_port.Read(reply, 6);
    if (got <= 0)
        return;
    m_versionReply.assign(reply); // ends at the first zero byte
    float version = 0.0f;
    m_firmwareVersion = ParseVersionReply(m_versionReply, version) ? version : 0.0f;
}

} // namespace tensiq

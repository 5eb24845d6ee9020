#include "Simulator.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tensiq::sim {

namespace {

// Ten bits a byte on the line.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / kLineBaud);
// Paced output goes out in small chunks, as a USB adapter would hand it on.
constexpr std::size_t kPacedChunk = 10;
constexpr auto kIdlePoll = std::chrono::milliseconds(20);
constexpr auto kDisconnectedPoll = std::chrono::milliseconds(5);

} // namespace

Simulator::Simulator(std::string portDir) : m_portDir(std::move(portDir)) {
    if (::mkdir(m_portDir.c_str(), 0700) == 0)
        m_madeDir = true;
    else if (errno != EEXIST)
        throw std::runtime_error("cannot create port folder " + m_portDir);
}

Simulator::~Simulator() {
    Stop();
    m_ports.clear();
    if (m_madeDir)
        ::rmdir(m_portDir.c_str());
}

std::string Simulator::LinkPath(int number) const {
    return m_portDir + "/COM" + std::to_string(number);
}

void Simulator::AddRole(int number, std::unique_ptr<PortRole> role) {
    std::lock_guard lock(m_mutex);
    auto port = std::make_unique<Port>();
    port->number = number;
    port->pty = std::make_unique<PseudoTerminal>(LinkPath(number));
    port->role = std::move(role);
    m_ports[number] = std::move(port);
}

DeviceModel& Simulator::AddDevice(int number, DeviceConfig config) {
    auto device = std::make_unique<DeviceModel>(std::move(config));
    DeviceModel& ref = *device;
    AddRole(number, std::move(device));
    return ref;
}

void Simulator::AddSilent(int number) {
    AddRole(number, std::make_unique<SilentRole>());
}
void Simulator::AddNoise(int number, bool random) {
    AddRole(number, std::make_unique<NoiseRole>(random));
}

void Simulator::Start() {
    if (!m_thread.joinable())
        m_thread = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void Simulator::Stop() {
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_thread.join();
    }
}

void Simulator::Port::Send(const std::uint8_t* data, std::size_t count) {
    if (dead)
        return;
    pending.insert(pending.end(), data, data + count);
    queuedTotal += count;
}

void Simulator::Port::SendFrame(const std::uint8_t* data, std::size_t count, std::uint16_t tag) {
    if (dead)
        return;
    Send(data, count);
    frameEnds.emplace_back(queuedTotal, tag);
}

void Simulator::Port::HangUp() {
    dead = true;
    pending.clear();
    frameEnds.clear();
    pty.reset(); // the program's end of the line sees a hang-up
}

void Simulator::Flush(Port& port, Clock::time_point now) {
    if (port.dead || port.pending.empty())
        return;
    if (!port.pty->Connected()) {
        // Nobody listens: the bytes are gone, as on a real line.
        port.sentTotal += port.pending.size();
        port.pending.clear();
        port.frameEnds.clear();
        return;
    }
    std::size_t allowed = port.pending.size();
    if (m_paced) {
        if (now < port.lineFree)
            return;
        allowed = std::min(allowed, kPacedChunk);
    }
    std::vector<std::uint8_t> chunk(port.pending.begin(), port.pending.begin() + allowed);
    // Taken before the write: once written, the program may have the frame before we look.
    const Clock::time_point sentAt = Clock::now();
    const ssize_t n = ::write(port.pty->MasterFd(), chunk.data(), chunk.size());
    if (n <= 0)
        return; // full: the line waits
    const auto written = static_cast<std::size_t>(n);
    port.pending.erase(port.pending.begin(), port.pending.begin() + written);
    port.sentTotal += written;
    if (m_paced) {
        // Credit of one chunk, so a late wake-up does not slow the line below its rate.
        const auto credit = kByteTime * static_cast<long>(kPacedChunk);
        port.lineFree =
            std::max(port.lineFree, now - credit) + kByteTime * static_cast<long>(written);
    }
    while (!port.frameEnds.empty() && port.frameEnds.front().first <= port.sentTotal) {
        if (m_onFrameSent)
            m_onFrameSent(port.number, port.frameEnds.front().second, sentAt);
        port.frameEnds.pop_front();
    }
}

void Simulator::Run(std::stop_token stop) {
    std::vector<pollfd> fds;
    std::vector<Port*> polled;
    std::vector<Port*> closed;
    std::uint8_t buffer[4096];
    while (!stop.stop_requested()) {
        fds.clear();
        polled.clear();
        closed.clear();
        Clock::time_point wake = Clock::now() + kIdlePoll;
        {
            std::lock_guard lock(m_mutex);
            for (auto& [number, port] : m_ports) {
                if (port->dead)
                    continue;
                if (!port->pty->Connected()) {
                    // A closed slave reports POLLHUP at once; look again shortly.
                    wake = std::min(wake, Clock::now() + kDisconnectedPoll);
                    closed.push_back(port.get());
                } else {
                    short events = POLLIN;
                    if (!port->pending.empty()) {
                        if (m_paced && Clock::now() < port->lineFree)
                            wake = std::min(wake, port->lineFree);
                        else
                            events |= POLLOUT;
                    }
                    fds.push_back({port->pty->MasterFd(), events, 0});
                    polled.push_back(port.get());
                }
                if (auto due = port->role->NextDue())
                    wake = std::min(wake, *due);
            }
        }
        const auto wait = std::max(wake - Clock::now(), Clock::duration::zero());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timespec timeout{static_cast<time_t>(ns / 1'000'000'000),
                         static_cast<long>(ns % 1'000'000'000)};
        ::ppoll(fds.data(), fds.size(), &timeout, nullptr);

        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < fds.size(); ++i) {
            Port& port = *polled[i];
            if (port.dead || (fds[i].revents & POLLIN) == 0)
                continue;
            const ssize_t n = ::read(port.pty->MasterFd(), buffer, sizeof buffer);
            if (n > 0)
                port.role->OnInput(buffer, static_cast<std::size_t>(n), port);
        }
        // What the program wrote just before it closed the port still reaches the device, as a
        // real line sends out its last bytes (the X at the end of a run).
        for (Port* port : closed) {
            ssize_t n = 0;
            while (!port->dead && (n = ::read(port->pty->MasterFd(), buffer, sizeof buffer)) > 0)
                port->role->OnInput(buffer, static_cast<std::size_t>(n), *port);
        }
        const auto now = Clock::now();
        for (auto& [number, port] : m_ports) {
            if (port->dead)
                continue;
            if (auto due = port->role->NextDue(); due && *due <= now)
                port->role->OnTime(now, *port);
            Flush(*port, now);
        }
    }
}

} // namespace tensiq::sim

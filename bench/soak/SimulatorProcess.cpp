#include "SimulatorProcess.h"

#include "Simulator.h"
#include "SoakRecord.h"

#include <algorithm>
#include <new>
#include <optional>
#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tensiq::soak {

namespace {

constexpr int kCountersPollMs = 20;

} // namespace

SimulatorProcess::SimulatorProcess(std::string portDir) {
    void* shared =
        ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    m_shared = new (shared) Shared();
    int commands[2] = {-1, -1}, acks[2] = {-1, -1};
    if (::pipe(commands) != 0 || ::pipe(acks) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only its own ends: another child's command pipe held open here would never end it.
        const long most = std::min(::sysconf(_SC_OPEN_MAX), 4096L);
        for (int fd = 3; fd < most; ++fd)
            if (fd != commands[0] && fd != acks[1])
                ::close(fd);
        Serve(portDir, commands[0], acks[1], m_shared);
    }
    ::close(commands[0]);
    ::close(acks[1]);
    m_commands = commands[1];
    m_acks = acks[0];
}

SimulatorProcess::~SimulatorProcess() {
    Stop();
    if (m_shared != nullptr) {
        m_shared->~Shared();
        ::munmap(m_shared, sizeof(Shared));
    }
}

void SimulatorProcess::Stop() {
    if (m_commands >= 0)
        ::close(m_commands);
    m_commands = -1;
    if (m_pid > 0)
        ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    if (m_acks >= 0)
        ::close(m_acks);
    m_acks = -1;
}

bool SimulatorProcess::AddSilent(int port) {
    return Send({port, false, false, 0});
}

bool SimulatorProcess::AddDevice(int port, bool faults, int hangUpAfterFrames) {
    return Send({port, true, faults, hangUpAfterFrames});
}

bool SimulatorProcess::Send(const Command& command) {
    char ack = 0;
    return m_commands >= 0 &&
           ::write(m_commands, &command, sizeof command) == static_cast<ssize_t>(sizeof command) &&
           ::read(m_acks, &ack, 1) == 1;
}

void SimulatorProcess::Serve(const std::string& portDir, int commands, int acks, Shared* shared) {
    std::optional<sim::Simulator> simulator;
    std::vector<int> devices;
    for (;;) {
        pollfd p{commands, POLLIN, 0};
        if (::poll(&p, 1, kCountersPollMs) > 0) {
            Command c;
            // The parent closed its end, or is gone.
            if (::read(commands, &c, sizeof c) != static_cast<ssize_t>(sizeof c))
                break;
            if (!simulator) {
                simulator.emplace(portDir);
                simulator->SetPacing(true);
                simulator->Start();
            }
            if (c.device) {
                simulator->AddDevice(c.port, SoakDevice(c.faults, c.hangUpAfterFrames));
                devices.push_back(c.port);
            } else {
                simulator->AddSilent(c.port);
            }
            const char ack = 1;
            if (::write(acks, &ack, 1) != 1)
                break;
        }
        long sent = 0, starts = 0;
        for (int port : devices)
            simulator->With<sim::DeviceModel>(port, [&](sim::DeviceModel& d) {
                sent += d.Counters().framesSent;
                starts += d.Counters().streamStarts;
            });
        shared->framesSent = sent;
        shared->streamStarts = starts;
    }
    simulator.reset(); // the links go, and the folder it made
    ::_exit(0);
}

} // namespace tensiq::soak

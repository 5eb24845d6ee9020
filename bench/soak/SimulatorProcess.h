#pragma once
// The simulated ports served from a forked process of its own, so that the process measured
// beside it holds none of the simulator's memory, threads or descriptors. Made before this
// process starts any thread: the child is a copy of it.
#include <atomic>
#include <string>
#include <sys/types.h>

namespace tensiq::soak {

class SimulatorProcess {
public:
    // The child waits for its first port before it makes the folder and starts serving.
    explicit SimulatorProcess(std::string portDir);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Each returns once the port is there; false when the child is gone.
    bool AddSilent(int port);
    // The soak device, paced at the line limit.
    bool AddDevice(int port, bool faults, int hangUpAfterFrames);

    // Totals over the devices added, as they count them; up to 20 ms late.
    long FramesSent() const { return m_shared->framesSent; }
    long StreamStarts() const { return m_shared->streamStarts; }

    // The child takes its ports away and ends.
    void Stop();

private:
    struct Shared {
        std::atomic<long> framesSent{0};
        std::atomic<long> streamStarts{0};
    };
    struct Command {
        int port = 0;
        bool device = false;
        bool faults = false;
        int hangUpAfterFrames = 0;
    };
    bool Send(const Command& command);
    [[noreturn]] static void Serve(const std::string& portDir, int commands, int acks,
                                   Shared* shared);

    pid_t m_pid = -1;
    int m_commands = -1;
    int m_acks = -1;
    Shared* m_shared = nullptr;
};

} // namespace tensiq::soak

#pragma once
// Simulated ports in a port folder, served by one thread until the simulator stops.
#include "DeviceModel.h"
#include "PassiveRoles.h"
#include "PortRole.h"
#include "PseudoTerminal.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tensiq::sim {

inline constexpr int kLineBaud = 230400;

class Simulator {
public:
    // portDir is created when missing and removed again at the end if the simulator made it.
    explicit Simulator(std::string portDir);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    DeviceModel& AddDevice(int number, DeviceConfig config = DeviceConfig::Default());
    void AddSilent(int number);
    // Fixed noise that never looks like a device; random noise when random is set.
    void AddNoise(int number, bool random = false);
    void AddRole(int number, std::unique_ptr<PortRole> role);

    // Output at the real line rate (8N1, ten bits a byte) instead of as fast as the pty takes it.
    void SetPacing(bool paced) { m_paced = paced; }
    // Told when a frame's last byte has gone onto the line (from the simulator's thread).
    using FrameSent = std::function<void(int port, std::uint16_t tag, Clock::time_point when)>;
    void OnFrameSent(FrameSent callback) { m_onFrameSent = std::move(callback); }

    void Start();
    void Stop();

    const std::string& PortDir() const { return m_portDir; }
    std::string LinkPath(int number) const;

    // Runs f with the port's role while the simulator's thread keeps off it.
    template <typename Role, typename F> void With(int number, F&& f) {
        std::lock_guard lock(m_mutex);
        f(static_cast<Role&>(*m_ports.at(number)->role));
    }

private:
    struct Port : Output {
        int number = 0;
        std::unique_ptr<PseudoTerminal> pty;
        std::unique_ptr<PortRole> role;
        std::deque<std::uint8_t> pending;
        std::deque<std::pair<std::uint64_t, std::uint16_t>> frameEnds; // end offset, tag
        std::uint64_t queuedTotal = 0;
        std::uint64_t sentTotal = 0;
        Clock::time_point lineFree{};
        bool dead = false;

        void Send(const std::uint8_t* data, std::size_t count) override;
        void SendFrame(const std::uint8_t* data, std::size_t count, std::uint16_t tag) override;
        std::size_t Pending() const override { return pending.size(); }
        void HangUp() override;
    };

    void Run(std::stop_token stop);
    void Flush(Port& port, Clock::time_point now);

    std::string m_portDir;
    bool m_madeDir = false;
    bool m_paced = false;
    FrameSent m_onFrameSent;
    std::map<int, std::unique_ptr<Port>> m_ports;
    std::mutex m_mutex;
    std::jthread m_thread;
};

} // namespace tensiq::sim

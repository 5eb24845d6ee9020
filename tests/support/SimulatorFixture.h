#pragma once
// A port folder with simulated ports, pointed at by TENSIQ_PORT_DIR for the test's process.
#include "Simulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace tensiq::test {

inline std::string MakeTempFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

class SimulatorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = MakeTempFolder("tensiq-test-");
        sim = std::make_unique<sim::Simulator>(m_root + "/ports");
        ::setenv("TENSIQ_PORT_DIR", sim->PortDir().c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
    }
    void TearDown() override {
        sim.reset();
        ::unsetenv("TENSIQ_PORT_DIR");
        std::filesystem::remove_all(m_root);
    }

    const std::string& Root() const { return m_root; }

    sim::DeviceConfig Device(const std::string& identification = "L 1.08") const {
        sim::DeviceConfig c = sim::DeviceConfig::Default();
        c.identification = identification;
        return c;
    }

    template <typename F> void WithDevice(int port, F&& f) {
        sim->With<sim::DeviceModel>(port, std::forward<F>(f));
    }

    std::unique_ptr<sim::Simulator> sim;

private:
    std::string m_root;
};

// Waits until cond holds, at most timeout; the simulator works on its own thread.
template <typename Cond>
bool Eventually(Cond cond, std::chrono::milliseconds timeout = std::chrono::milliseconds(2000)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace tensiq::test

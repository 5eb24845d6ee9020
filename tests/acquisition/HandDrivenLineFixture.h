#pragma once
// A link on a pseudo-terminal whose other end the test writes by hand, so that what the
// acquisition thread reads, and when, is the test's choice.
#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "PseudoTerminalPair.h"
#include "SimulatorFixture.h"

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace tensiq::test {

class FrameCountingSink : public AcquisitionSink {
public:
    void OnFrame(const FrameUpdate&) override {
        if (onFrame)
            onFrame();
        ++frames;
    }
    void OnSynchronisationFailed(const std::string&) override { ++failures; }
    void OnConnectionLost(const std::string&) override {}
    void OnRecordFailed(const RecordFailure&) override {}
    std::function<void()> onFrame; // on the acquisition thread
    std::atomic<int> frames{0};
    std::atomic<int> failures{0};
};

class HandDrivenLineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsOpen());
        m_master = m_pty.Master();
        ::fcntl(m_master, F_SETFL, O_NONBLOCK);
        ASSERT_TRUE(link.OpenDevice(m_pty.SlavePath()));
        context.link = &link;
        context.sink = &sink;
    }
    void TearDown() override {
        thread.StopRun();
        link.Close();
        m_pty.Close();
    }
    // Starts the thread and a run, and comes back once the program has asked for the stream.
    void StartRunUntilStreamStart() {
        thread.Start();
        thread.StartRun();
        std::string seen;
        ASSERT_TRUE(Eventually(
            [&] {
                char c;
                while (::read(m_master, &c, 1) == 1)
                    seen += c;
                return seen.find('S') != std::string::npos;
            },
            std::chrono::seconds(5)))
            << seen;
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    // A valid frame whose loads are all zero.
    static std::string Frame() {
        std::string frame(40, '\0');
        frame[0] = 0x4C;
        frame[39] = 0x0D;
        return frame;
    }

    DeviceLink link;
    AcquisitionContext context;
    FrameCountingSink sink;
    AcquisitionThread thread{context};

private:
    PseudoTerminalPair m_pty;
    int m_master = -1;
};

} // namespace tensiq::test

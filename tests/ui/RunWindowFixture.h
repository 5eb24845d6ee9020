#pragma once
// A main window opened offscreen against simulated devices, with every message box and save
// dialog answered by the test.

#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "Profile.h"
#include "ResourceIcon.h"
#include "ResourceIds.h"
#include "RopeLoadDlgProbe.h"
#include "SimulatorFixture.h"
#include "UiTestSupport.h"
#include "UserDialogs.h"

#include <QString>

#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace tensiq::test {

class RunWindowFixture : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        m_boxes = std::make_unique<ScopedMessageBoxHandler>([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            if (answers.empty())
                return IDOK;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override {
        dlg.reset();
        m_boxes.reset();
        SimulatorFixture::TearDown();
    }

    // A device with steady loads (no ripple), rope count and factor as given.
    sim::DeviceConfig SteadyDevice(std::vector<std::int16_t> readings, int ropes, int factor = 1,
                                   double frameRate = 100.0) const {
        sim::DeviceConfig c = Device();
        c.ripple = false;
        c.frameRate = frameRate;
        c.readings.fill(0);
        for (std::size_t i = 0; i < readings.size() && i < c.readings.size(); ++i)
            c.readings[i] = readings[i];
        c.block[18] = static_cast<std::uint8_t>(ropes);
        c.block[19] = static_cast<std::uint8_t>(factor);
        return c;
    }

    void Open() {
        sim->Start();
        dlg = std::make_unique<RopeLoadDlgProbe>(nullptr, &profile);
        ASSERT_TRUE(dlg->Create());
    }

    // Waits, with the GUI's events running, until cond holds.
    template <typename Cond> bool PumpUntil(Cond cond, int ms = 5000) {
        for (int waited = 0; waited < ms; waited += 10) {
            if (cond())
                return true;
            Pump(10);
        }
        return cond();
    }

    // Waits for frames of the run just started. On a loaded machine the device may not have
    // sent its first frame by the end of the stream start's pauses, and the thread then gives
    // up synchronising, as it is meant to; the run is put on again, as a user would.
    void AwaitFrames(long count = 1) {
        const long start = dlg->Acquisition()->FrameCount();
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (PumpUntil([&] {
                    return dlg->Acquisition()->FrameCount() >= start + count || SyncFailed();
                }) &&
                !SyncFailed())
                return;
            if (!SyncFailed())
                break;
            std::erase_if(boxes, [](const MessageBoxRequest& b) {
                return b.text == Localised(res::kStrNoSync);
            });
            dlg->Acquisition()->StartRun();
        }
        FAIL() << "no frames came " << BoxTexts();
    }
    bool SyncFailed() const {
        for (const auto& b : boxes)
            if (b.text == Localised(res::kStrNoSync))
                return true;
        return false;
    }

    // Runs a measurement until every bar shows its rope's load, then stops it.
    void MeasureOnce(const std::vector<int>& expectedPositions) {
        dlg->OnStartStop();
        ASSERT_EQ(dlg->m_measuring, 1);
        AwaitFrames();
        ASSERT_TRUE(PumpUntil([&] {
            for (std::size_t k = 0; k < expectedPositions.size(); ++k)
                if (dlg->m_bars[k].ShownValue() != expectedPositions[k])
                    return false;
            return true;
        })) << "the bars never showed the loads "
            << BoxTexts();
        dlg->OnStartStop();
        ASSERT_EQ(dlg->m_measuring, 0);
    }

    // What the boxes said, for a failure message.
    std::string BoxTexts() const {
        std::string all;
        for (const auto& b : boxes)
            all += "[" + b.caption.toStdString() + ": " + b.text.toStdString() + "] ";
        return all;
    }

    std::string RecordPath() const { return dlg->Context().recordPath; }

    enum class State { Idle, Measuring, Assistant };
    // The buttons, captions and flags of each state of the window.
    void ExpectState(State state) {
        const bool idle = state == State::Idle;
        const bool measuring = state == State::Measuring;
        const bool assistant = state == State::Assistant;
        EXPECT_EQ(dlg->m_measuring, measuring ? 1 : 0);
        EXPECT_EQ(dlg->Context().assistantActive.load(), assistant ? 1 : 0);
        EXPECT_EQ(dlg->Context().runFlag.load(), idle ? 0 : 1);
        EXPECT_EQ(dlg->m_readButton.isEnabled(), idle);
        EXPECT_EQ(dlg->m_writeButton.isEnabled(), idle);
        EXPECT_EQ(dlg->m_startStopButton.isEnabled(), !assistant);
        EXPECT_EQ(dlg->m_startStopButton.GetWindowText(),
                  Localised(measuring ? res::kStrStop : res::kStrStart));
        EXPECT_EQ(dlg->m_startStopButton.IconIn(),
                  LoadResourceIcon(CurrentResourceModule(),
                                   measuring ? res::kIconStop : res::kIconStart, 32));
        EXPECT_EQ(dlg->m_assistantButton.GetWindowText(),
                  Localised(assistant ? res::kStrAssistantEnd : res::kStrAssistantStart));
        EXPECT_EQ(dlg->m_nextRopeButton.isEnabled(), assistant);
        EXPECT_EQ(dlg->Link().IsOpen(), !idle) << "idle leaves the link closed";
    }

    // The lines of the record: the date line first.
    std::vector<std::string> RecordLines() const {
        std::ifstream in(RecordPath());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    MemoryProfile profile;
    std::unique_ptr<RopeLoadDlgProbe> dlg;
    std::vector<MessageBoxRequest> boxes;
    std::deque<int> answers;

private:
    std::unique_ptr<ScopedMessageBoxHandler> m_boxes;
};

} // namespace tensiq::test

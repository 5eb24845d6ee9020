#pragma once
// A window sink that counts what it receives and applies, for the tests and the benchmarks; it
// can also apply each frame on its own as it comes, as a window without coalescing would.

#include "WindowSink.h"

#include <QMetaObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace tensiq::test {

class CountingWindowSink : public WindowSink {
public:
    using WindowSink::WindowSink;

    struct Counters {
        long framesReceived = 0;
        long chartSamplesReceived = 0;
        long chartSamplesDrawn = 0;
        long chartSamplesPending = 0; // received, waiting for the next refresh
        long applies = 0;
    };
    Counters Stats() const {
        std::lock_guard lock(m_countMutex);
        Counters counters = m_counters;
        counters.chartSamplesPending = static_cast<long>(PendingChartSamples());
        return counters;
    }
    // The tag of the newest frame applied (GUI thread).
    std::uint16_t LastAppliedTag() const { return m_lastTag; }
    // Told on the GUI thread after each apply: the newest frame applied and when it arrived.
    using AppliedHook = std::function<void(long frameNumber, Clock::time_point arrival)>;
    void SetAppliedHook(AppliedHook hook) { m_hook = std::move(hook); }
    // For a window's SetSinkFactory: makes a counting sink and says where it is.
    static std::function<std::unique_ptr<WindowSink>(const Targets&)>
    Into(CountingWindowSink** made) {
        return [made](const Targets& targets) -> std::unique_ptr<WindowSink> {
            auto sink = std::make_unique<CountingWindowSink>(targets);
            *made = sink.get();
            return sink;
        };
    }
    // For comparison: apply and repaint every frame on its own, as the frames come.
    void SetApplyEveryFrame(bool on) { m_everyFrame = on; }

    void OnFrame(const FrameUpdate& update) override {
        if (!m_everyFrame) {
            WindowSink::OnFrame(update);
            return;
        }
        const auto arrival = Clock::now();
        Received(update);
        QMetaObject::invokeMethod(
            this,
            [this, update, arrival] {
                std::vector<ChartSample> samples;
                if (update.chartSampleDue)
                    samples.push_back({update.displayValues});
                Apply(update, samples, true);
                Applied(update, samples.size(), arrival);
            },
            Qt::QueuedConnection);
    }

protected:
    void Received(const FrameUpdate& update) override {
        std::lock_guard lock(m_countMutex);
        ++m_counters.framesReceived;
        if (update.chartSampleDue)
            ++m_counters.chartSamplesReceived;
    }
    void Applied(const FrameUpdate& newest, std::size_t chartSamples,
                 Clock::time_point arrival) override {
        {
            std::lock_guard lock(m_countMutex);
            m_counters.chartSamplesDrawn += static_cast<long>(chartSamples);
            ++m_counters.applies;
        }
        m_lastTag = newest.tag;
        if (m_hook)
            m_hook(newest.frameNumber, arrival);
    }

private:
    mutable std::mutex m_countMutex;
    Counters m_counters;
    std::atomic<bool> m_everyFrame{false};
    std::uint16_t m_lastTag = 0;
    AppliedHook m_hook;
};

} // namespace tensiq::test

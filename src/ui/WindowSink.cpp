#include "WindowSink.h"

#include "BarMarking.h"
#include "CaptionLabel.h"
#include "CurrentResourceModule.h"
#include "LineChartCtrl.h"
#include "LocalisedString.h"
#include "RecordFailureText.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "RopeBarCtrl.h"
#include "UserDialogs.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tensiq {

namespace {

std::chrono::microseconds ScreenRefresh() {
    double hz = 60.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        if (screen->refreshRate() >= 1.0)
            hz = screen->refreshRate();
    return std::chrono::microseconds(std::lround(1e6 / hz));
}

} // namespace

WindowSink::WindowSink(const Targets& targets, QObject* parent)
    : QObject(parent), m_targets(targets), m_interval(ScreenRefresh()) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WindowSink::ApplyPending);
}

WindowSink::~WindowSink() = default;

void WindowSink::OnFrame(const FrameUpdate& update) {
    const auto arrival = Clock::now();
    Received(update);
    {
        std::lock_guard lock(m_mutex);
        if (update.chartSampleDue)
            m_samples.push_back({update.displayValues});
        m_newest = update;
        m_newestArrival = arrival;
        m_havePending = true;
    }
    // One wake-up in flight is enough; it takes everything that came meanwhile.
    if (!m_posted.exchange(true))
        QMetaObject::invokeMethod(this, &WindowSink::Schedule, Qt::QueuedConnection);
}

void WindowSink::OnSynchronisationFailed(const std::string& message) {
    // As the framework's own box: the program's name as its caption.
    const QString text = QString::fromStdString(message);
    QMetaObject::invokeMethod(
        this, [this, text] { ShowFailure(text, QString()); }, Qt::QueuedConnection);
}

void WindowSink::OnConnectionLost(const std::string& message) {
    const QString text = QString::fromStdString(message);
    QMetaObject::invokeMethod(
        this, [this, text] { ShowFailure(text, ResourceText(res::kStrError)); },
        Qt::QueuedConnection);
}

void WindowSink::OnRecordFailed(const RecordFailure& failure) {
    QMetaObject::invokeMethod(
        this,
        [this, failure] {
            const QString text =
                QString::fromStdString(RecordFailureText(failure, CurrentResourceModule()));
            ShowFailure(text, ResourceText(res::kStrError));
        },
        Qt::QueuedConnection);
}

void WindowSink::ShowFailure(const QString& text, const QString& caption) {
    emit RunEndedByThread();
    MessageBox(m_targets.window, text, caption, MB_OK | MB_ICONHAND);
}

// Applies at once when the last apply is a refresh ago, else when the refresh comes round.
void WindowSink::Schedule() {
    if (m_timer.isActive())
        return;
    const auto since = m_lastApply ? Clock::now() - *m_lastApply : Clock::duration::max();
    if (since >= m_interval)
        ApplyPending();
    else
        ArmRefresh();
}

// The next refresh, a whole interval after the last apply.
void WindowSink::ArmRefresh() {
    const auto due = (m_lastApply ? *m_lastApply : Clock::now()) + m_interval;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
    m_timer.start(static_cast<int>(std::clamp<long long>(wait.count(), 1, 1 << 30)));
}

void WindowSink::ApplyPending() {
    m_timer.stop();
    FrameUpdate newest;
    Clock::time_point arrival;
    std::vector<ChartSample> samples;
    {
        std::lock_guard lock(m_mutex);
        if (!m_havePending) {
            // Idle: the next frame wakes this thread again. Cleared under the lock, so a frame
            // stored after this look posts its wake-up.
            m_posted = false;
            return;
        }
        newest = m_newest;
        arrival = m_newestArrival;
        samples.swap(m_samples);
        m_havePending = false;
    }
    m_lastApply = Clock::now();
    Apply(newest, samples, false);
    // Painted now, in the same pass, rather than at some later turn of the event loop: a frame
    // waits for one refresh, not for two.
    if (m_targets.window != nullptr)
        QCoreApplication::sendPostedEvents(m_targets.window->window(), QEvent::UpdateRequest);
    Applied(newest, samples.size(), arrival);
    // While frames keep coming, the refresh comes round on its own and the thread, seeing a
    // wake-up still in flight, posts none: no wake-up across threads for each refresh.
    ArmRefresh();
}

// Per frame as the thread computed it: bars, chart, marks, total.
void WindowSink::Apply(const FrameUpdate& newest, const std::vector<ChartSample>& samples,
                       bool repaintNow) {
    const bool accessible = QAccessible::isActive();
    for (int k = 0; k < kRopes; ++k) {
        CRopeBarCtrl* bar = m_targets.bars[k];
        if (bar == nullptr)
            continue;
        const int before = bar->ShownValue();
        bar->SetPos(newest.displayValues[k]);
        if (accessible && bar->ShownValue() != before) {
            QAccessibleValueChangeEvent event(bar, bar->ShownValue());
            QAccessible::updateAccessibility(&event);
        }
    }
    if (m_targets.chart != nullptr) {
        for (const ChartSample& sample : samples) {
            for (int k = 0; k < kRopes; ++k)
                m_targets.chart->SetValue(k, static_cast<std::uint32_t>(sample.values[k]));
            m_targets.chart->Advance();
        }
    }
    ApplyMarks(newest);
    if (m_targets.total != nullptr) {
        const QString text = QString::fromStdString(newest.totalText);
        if (text != m_targets.total->GetCaption()) {
            m_targets.total->SetCaption(text, TRUE);
            if (accessible) {
                QAccessibleEvent event(m_targets.total, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&event);
            }
        }
    }
    if (repaintNow) {
        for (CRopeBarCtrl* bar : m_targets.bars)
            if (bar != nullptr && bar->isVisible())
                bar->repaint();
        if (m_targets.chart != nullptr && m_targets.chart->isVisible())
            m_targets.chart->repaint();
        if (m_targets.total != nullptr && m_targets.total->isVisible())
            m_targets.total->repaint();
    }
}

// Against the colour the bar really has, so a bar the assistant turned yellow greys too.
void WindowSink::ApplyMarks(const FrameUpdate& update) {
    for (int k = 0; k < kRopes; ++k) {
        CRopeBarCtrl* bar = m_targets.bars[k];
        if (bar == nullptr)
            continue;
        if (const auto colour = MarkedBackground(update.marked[k], bar->m_bkColor)) {
            bar->SetBkColor(*colour);
            bar->update();
        }
    }
}

std::size_t WindowSink::PendingChartSamples() const {
    std::lock_guard lock(m_mutex);
    return m_samples.size();
}

} // namespace tensiq

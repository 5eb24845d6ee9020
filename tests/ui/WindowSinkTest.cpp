// The readings' way to the window: pushed from another thread, applied on the GUI thread with
// every chart sample in order and the newest bars, marks and total, at most once a refresh.

#include "WindowSink.h"
#include "CaptionLabel.h"
#include "CountingWindowSink.h"
#include "CurrentResourceModule.h"
#include "LineChartCtrl.h"
#include "LocalisedString.h"
#include "ResourceIds.h"
#include "RopeBarCtrl.h"
#include "UiTestSupport.h"
#include "UserDialogs.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 128);

// Counts the events of one type that reach the objects it filters.
struct EventCounter : QObject {
    explicit EventCounter(QEvent::Type counted) : type(counted) {}
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == type ? 1 : 0;
        return false;
    }
    QEvent::Type type;
    int count = 0;
};

// The window's displays without the window: twelve bars, a chart and a total label.
class Displays : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(800, 400);
        chart = new CLineChartCtrl(&window);
        chart->setGeometry(0, 0, 400, 200); // before the series: the buffer takes this size
        for (int k = 0; k < kRopes; ++k)
            chart->AddSeries(RGB(255, 255, 0), 1000, 0);
        for (int k = 0; k < kRopes; ++k) {
            bars[k] = new CRopeBarCtrl(&window);
            bars[k]->setGeometry(410 + 30 * k, 0, 25, 200);
            bars[k]->SetRange(0, 1000);
            bars[k]->m_bkColor = kWhite;
        }
        total = new CCaptionLabel(&window);
        total->setGeometry(0, 210, 300, 20);
        window.show();
        sink = std::make_unique<test::CountingWindowSink>(
            WindowSink::Targets{bars, chart, total, &window});
    }

    static FrameUpdate Frame(long n) {
        FrameUpdate u;
        u.frameNumber = n;
        u.chartSampleDue = n % 10 == 0;
        for (int k = 0; k < kRopes; ++k)
            u.displayValues[k] = static_cast<int>((n * 7 + k * 53) % 1000);
        u.totalText = "Gesamt: " + std::to_string(n) + " kg";
        return u;
    }

    QWidget window;
    CLineChartCtrl* chart = nullptr;
    std::array<CRopeBarCtrl*, kRopes> bars{};
    CCaptionLabel* total = nullptr;
    std::unique_ptr<test::CountingWindowSink> sink;
};

} // namespace

TEST_F(Displays, FramesFromAnotherThreadReachEveryDisplayWithEveryChartSampleInOrder) {
    constexpr long kFrames = 2000;
    std::thread feeder([this] {
        for (long n = 1; n <= kFrames; ++n)
            sink->OnFrame(Frame(n));
    });
    feeder.join();
    ASSERT_TRUE(test::PumpUntil([&] {
        test::Pump(5);
        return sink->Stats().chartSamplesDrawn == kFrames / 10;
    }));
    const FrameUpdate last = Frame(kFrames);
    for (int k = 0; k < kRopes; ++k)
        EXPECT_EQ(bars[k]->GetPos(), last.displayValues[k]);
    EXPECT_EQ(total->GetCaption(), QString::fromStdString(last.totalText));
    EXPECT_EQ(sink->Stats().framesReceived, kFrames);
    EXPECT_EQ(sink->Stats().chartSamplesReceived, kFrames / 10);

    // A chart fed every sample directly, in order, draws the same picture.
    CLineChartCtrl reference(&window);
    reference.setGeometry(chart->geometry());
    for (int k = 0; k < kRopes; ++k)
        reference.AddSeries(RGB(255, 255, 0), 1000, 0);
    for (long n = 10; n <= kFrames; n += 10) {
        const FrameUpdate u = Frame(n);
        for (int k = 0; k < kRopes; ++k)
            reference.SetValue(k, static_cast<std::uint32_t>(u.displayValues[k]));
        reference.Advance();
    }
    EXPECT_EQ(chart->GetBackBuffer(), reference.GetBackBuffer());
}

TEST_F(Displays, TheThreadNeverWaitsForTheGuiThread) {
    // The GUI thread does not run its event loop while the frames come.
    auto done = std::async(std::launch::async, [this] {
        for (long n = 1; n <= 5000; ++n)
            sink->OnFrame(Frame(n));
    });
    ASSERT_EQ(done.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(sink->Stats().applies, 0);
    EXPECT_EQ(bars[0]->GetPos(), 0);
    sink->ApplyPending();
    EXPECT_EQ(sink->Stats().applies, 1);
    EXPECT_EQ(sink->Stats().chartSamplesDrawn, 500);
    EXPECT_EQ(bars[3]->GetPos(), Frame(5000).displayValues[3]);
}

TEST_F(Displays, AtMostOneApplyPerRefresh) {
    // A refresh that never comes round: the first frame is applied at once, the rest wait.
    sink->SetRefreshInterval(std::chrono::hours(1));
    for (long n = 1; n <= 300; ++n) {
        sink->OnFrame(Frame(n));
        if (n % 25 == 0)
            test::Pump(2);
    }
    test::Pump(20);
    EXPECT_EQ(sink->Stats().applies, 1);
    EXPECT_EQ(bars[0]->GetPos(), Frame(25).displayValues[0]); // the first pump's frame
    sink->ApplyPending();                                     // the refresh
    EXPECT_EQ(sink->Stats().applies, 2);
    EXPECT_EQ(bars[0]->GetPos(), Frame(300).displayValues[0]);
    EXPECT_EQ(sink->Stats().chartSamplesDrawn, 30);
}

TEST_F(Displays, MarksFollowTheBarsRealBackground) {
    FrameUpdate u = Frame(1);
    // Marked on a white bar: grey. Marked on a yellow (assistant) bar: grey too.
    bars[2]->SetTarget(100, TRUE);
    ASSERT_EQ(bars[2]->m_bkColor, kYellow);
    u.marked[1] = true;
    u.marked[2] = true;
    sink->OnFrame(u);
    sink->ApplyPending();
    EXPECT_EQ(bars[1]->m_bkColor, kGrey);
    EXPECT_EQ(bars[2]->m_bkColor, kGrey);
    EXPECT_EQ(bars[0]->m_bkColor, kWhite);

    // Unmarked: a grey bar turns white; a yellow one stays yellow.
    bars[5]->SetTarget(100, TRUE);
    u.marked = {};
    sink->OnFrame(u);
    sink->ApplyPending();
    EXPECT_EQ(bars[1]->m_bkColor, kWhite);
    EXPECT_EQ(bars[2]->m_bkColor, kWhite);
    EXPECT_EQ(bars[5]->m_bkColor, kYellow);
}

TEST_F(Displays, SynchronisationFailureShowsAStopBoxOnTheGuiThread) {
    std::vector<MessageBoxRequest> boxes;
    QThread* boxThread = nullptr;
    ScopedMessageBoxHandler answer([&](const MessageBoxRequest& r) {
        boxes.push_back(r);
        boxThread = QThread::currentThread();
        return IDOK;
    });
    std::thread([this] { sink->OnSynchronisationFailed("keine Synchronisation"); }).join();
    EXPECT_TRUE(boxes.empty()); // the thread did not wait for it
    test::Pump(10);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("keine Synchronisation"));
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, MB_ICONHAND);
    EXPECT_EQ(boxes[0].parent, &window);
    EXPECT_EQ(boxThread, QApplication::instance()->thread());

    // A lost connection and a failed record end the run the same way, as errors.
    int ended = 0;
    QObject::connect(sink.get(), &WindowSink::RunEndedByThread, [&ended] { ++ended; });
    std::thread([this] {
        sink->OnConnectionLost("Verbindung weg");
        sink->OnRecordFailed("temp.txt: Datenträger voll");
    }).join();
    test::Pump(10);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(ended, 2);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(boxes[i].type & MB_ICONMASK, MB_ICONHAND);
        EXPECT_EQ(boxes[i].caption, QString::fromStdString(LoadLocalisedString(
                                        res::kStrError, CurrentResourceModule())));
    }
    EXPECT_EQ(boxes[1].text, QStringLiteral("Verbindung weg"));
    EXPECT_EQ(boxes[2].text, QStringLiteral("temp.txt: Datenträger voll"));
}

TEST_F(Displays, AnApplyPaintsWhatChangedBeforeItReturnsAndOnlyOnce) {
    EventCounter counter(QEvent::Paint);
    bars[4]->installEventFilter(&counter);
    test::Pump(50); // the first showing is painted
    // The same total as shown: the label has nothing to repaint that would take the bars along.
    FrameUpdate u = Frame(1);
    u.totalText = total->GetCaption().toStdString();
    const int before = counter.count;
    sink->OnFrame(u);
    sink->ApplyPending();
    EXPECT_EQ(counter.count, before + 1);
    test::Pump(50);
    EXPECT_EQ(counter.count, before + 1);
}

TEST_F(Displays, WhileFramesComeTheRefreshRunsOnItsOwnAndAFrameAfterAPauseStillWakesIt) {
    EventCounter wakeUps(QEvent::MetaCall);
    sink->installEventFilter(&wakeUps);
    sink->SetRefreshInterval(5ms);
    std::atomic<bool> feeding{true};
    std::atomic<long> sent{0};
    std::thread feeder([&] {
        while (feeding) {
            sink->OnFrame(Frame(++sent));
            std::this_thread::sleep_for(200us);
        }
    });
    test::Pump(300);
    feeding = false;
    feeder.join();
    test::Pump(50);
    const long applies = sink->Stats().applies;
    EXPECT_GE(applies, 10);
    EXPECT_LE(wakeUps.count, 2); // the first frame's, not one a refresh
    EXPECT_EQ(bars[0]->GetPos(), Frame(sent).displayValues[0]);

    // Idle now: a frame that comes after the pause is shown all the same.
    sink->OnFrame(Frame(sent + 1));
    test::Pump(50);
    EXPECT_EQ(bars[0]->GetPos(), Frame(sent + 1).displayValues[0]);
    EXPECT_EQ(sink->Stats().applies, applies + 1);
}

// The window's own handlers: the view switch, "Beenden" in its corner, the about command,
// quitting without reading the form, and the assistant's marker timer.

#include "AboutBox.h"
#include "CurrentResourceModule.h"
#include "ResourceIcon.h"
#include "ResourceIds.h"
#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace tensiq;

namespace {

class WindowHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<test::RopeLoadDlgProbe>();
        ASSERT_TRUE(dlg->Create());
        dlg->show();
        test::Pump(10);
    }
    QImage Icon(unsigned id) const {
        return LoadResourceIcon(CurrentResourceModule(), id, 32)
            .convertToFormat(dlg->m_switchViewButton.IconIn().format());
    }
    std::unique_ptr<test::RopeLoadDlgProbe> dlg;
};

bool BarsShown(const test::RopeLoadDlgProbe& dlg) {
    for (const CRopeBarCtrl& bar : dlg.m_bars)
        if (bar.isHidden())
            return false;
    return true;
}

bool BarsHidden(const test::RopeLoadDlgProbe& dlg) {
    for (const CRopeBarCtrl& bar : dlg.m_bars)
        if (!bar.isHidden())
            return false;
    return true;
}

} // namespace

TEST_F(WindowHandlers, ViewSwitchTwiceComesBack) {
    dlg->m_switchViewButton.click();
    EXPECT_EQ(dlg->m_barsVisible, 0);
    EXPECT_TRUE(dlg->m_chart.isVisible());
    EXPECT_TRUE(BarsHidden(*dlg));
    EXPECT_EQ(dlg->m_switchViewButton.IconIn(), Icon(res::kIconShowBars));
    EXPECT_TRUE(dlg->m_totalLabel.isVisible());

    dlg->m_switchViewButton.click();
    EXPECT_EQ(dlg->m_barsVisible, 1);
    EXPECT_FALSE(dlg->m_chart.isVisible());
    EXPECT_TRUE(BarsShown(*dlg));
    EXPECT_EQ(dlg->m_switchViewButton.IconIn(), Icon(res::kIconShowChart));
}

TEST_F(WindowHandlers, QuitSitsTenPixelsFromTheCornerAfterEveryResize) {
    const QSize size = dlg->m_quitButton.size();
    for (const QSize client : {QSize(900, 600), QSize(640, 420), QSize(1200, 800)}) {
        dlg->resize(client);
        test::Pump(5);
        const QSize now = dlg->size();
        EXPECT_EQ(dlg->m_quitButton.size(), size);
        EXPECT_EQ(dlg->m_quitButton.geometry().right() + 1, now.width() - 10);
        EXPECT_EQ(dlg->m_quitButton.geometry().bottom() + 1, now.height() - 10);
    }
}

TEST_F(WindowHandlers, PlaceAnchoredKeepsTheLeftMarginWhenAsked) {
    dlg->PlaceAnchored(700, 500, ctl::kQuit, 7, 12, true);
    EXPECT_EQ(dlg->m_quitButton.x(), 7);
    EXPECT_EQ(dlg->m_quitButton.geometry().bottom() + 1, 500 - 12);
    const QRect placed = dlg->m_quitButton.geometry();
    dlg->PlaceAnchored(900, 800, 4711, 30, 40, true); // no such control: nothing moves
    EXPECT_EQ(dlg->m_quitButton.geometry(), placed);
}

// The about box is modal; whatever modal box opens is counted and closed at once.
TEST_F(WindowHandlers, AboutForEveryLowNibbleOfItsCommandOnly) {
    int abouts = 0;
    auto closer = [&abouts] {
        if (auto* about = qobject_cast<CAboutBox*>(QApplication::activeModalWidget())) {
            ++abouts;
            about->EndDialog(IDOK);
        }
    };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, closer);
    timer.start(5);
    for (UINT id = 0x0010; id <= 0x001F; ++id)
        dlg->OnSysCommand(id, 0);
    EXPECT_EQ(abouts, 16);
    dlg->OnSysCommand(0x0020, 0);
    dlg->OnSysCommand(0xF060, 0);
    test::Pump(30);
    EXPECT_EQ(abouts, 16);
}

TEST_F(WindowHandlers, F1OpensTheAboutBox) {
    int abouts = 0;
    QTimer::singleShot(20, [&abouts] {
        if (auto* about = qobject_cast<CAboutBox*>(QApplication::activeModalWidget())) {
            ++abouts;
            about->EndDialog(IDOK);
        }
    });
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_F1);
    test::Pump(40);
    EXPECT_EQ(abouts, 1);
}

TEST_F(WindowHandlers, QuitWithAnInvalidEntryClosesAtOnceWithoutAMessage) {
    int boxes = 0;
    ScopedMessageBoxHandler answer([&boxes](const MessageBoxRequest&) {
        ++boxes;
        return IDOK;
    });
    auto* edit = qobject_cast<QLineEdit*>(dlg->GetDlgItem(1018));
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("zwölf"));
    dlg->m_quitButton.click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), IDCANCEL);
    EXPECT_EQ(boxes, 0);
    // The thread is gone with the window.
    EXPECT_EQ(dlg->Acquisition(), nullptr);
}

TEST_F(WindowHandlers, EscapeAndTheCloseBoxEndTheSameWay) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), IDCANCEL);

    test::RopeLoadDlgProbe other;
    ASSERT_TRUE(other.Create());
    other.show();
    other.setResult(12345);
    EXPECT_TRUE(other.close());
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(other.result(), IDCANCEL);
}

TEST_F(WindowHandlers, MarkerTimerFollowsTheReferenceRopeAndRearms) {
    dlg->SetTimer(kMarkerTimer, kMarkerTimerMs);
    dlg->m_bars[4].SetPos(321);
    dlg->m_referenceRope = 4;
    dlg->m_currentRope = 7;
    // The window's own tick, as the timer would deliver it.
    dlg->KillTimer(kMarkerTimer);
    dlg->SetTimer(kMarkerTimer, 1);
    test::Pump(30);
    EXPECT_EQ(dlg->m_bars[7].m_target, 321);
    EXPECT_TRUE(dlg->m_bars[7].m_targetEnabled);
    EXPECT_TRUE(dlg->TimerRunning(kMarkerTimer));

    // Without an assistant the ticks change nothing but keep the timer going.
    dlg->m_bars[7].SetTarget(0, FALSE);
    dlg->m_currentRope = -1;
    dlg->m_referenceRope = -1;
    test::Pump(550);
    for (const CRopeBarCtrl& bar : dlg->m_bars)
        EXPECT_FALSE(bar.m_targetEnabled);
    EXPECT_TRUE(dlg->TimerRunning(kMarkerTimer));
}

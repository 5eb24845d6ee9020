// The window as it opens: every control at its template place in template order, the bound
// members, the enabled states, tool tips and icons, the chart's series, the bars and the total.

#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "ResourceIcon.h"
#include "ResourceIds.h"
#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace tensiq;
using test::Localised;

namespace {

class WindowOpening : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<test::RopeLoadDlgProbe>();
        ASSERT_TRUE(dlg->Create());
        dlg->show();
        test::Pump(10);
    }
    std::unique_ptr<test::RopeLoadDlgProbe> dlg;
};

QString TextOf(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return {};
}

} // namespace

TEST_F(WindowOpening, EveryControlSitsAtItsTemplatePlaceInTemplateOrder) {
    const res::DialogTemplate* tpl = dlg->Template();
    ASSERT_NE(tpl, nullptr);
    EXPECT_EQ(res::FindDialog(CurrentResourceModule(), res::kMainDialog), tpl);
    const DialogUnits& units = *dlg->Units();
    EXPECT_EQ(dlg->size(), units.ClientSize(*tpl));
    ASSERT_EQ(dlg->Controls().size(), tpl->controlCount);
    for (std::size_t i = 0; i < tpl->controlCount; ++i) {
        const auto& c = dlg->Controls()[i];
        SCOPED_TRACE(testing::Message() << "control " << c.entry->id << " at " << i);
        EXPECT_EQ(c.entry, &tpl->controls[i]);
        ASSERT_NE(c.widget, nullptr);
        EXPECT_EQ(c.widget->parentWidget(), dlg.get());
        if (c.entry->id != ctl::kQuit) { // moved to its corner by the size handler
            EXPECT_EQ(c.widget->geometry(), units.ToPixels(*c.entry));
        }
        EXPECT_EQ(c.widget->isHidden(), c.entry->Has(res::kHidden));
        const QString text = TextOf(c.widget);
        if (qobject_cast<QAbstractButton*>(c.widget) || qobject_cast<QLabel*>(c.widget)) {
            EXPECT_EQ(text, QString::fromUtf8(c.entry->text));
        }
    }
    EXPECT_TRUE(dlg->m_startStopButton.IsDefault());
    EXPECT_FALSE(dlg->m_nextRopeButton.isEnabled());
    EXPECT_TRUE(dlg->m_readButton.GetStyle() & BS_MULTILINE);
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8(tpl->caption));
}

TEST_F(WindowOpening, TabOrderFollowsTheTemplate) {
    std::vector<QWidget*> expected;
    for (const auto& c : dlg->Controls())
        if (c.widget->focusPolicy() & Qt::TabFocus)
            expected.push_back(c.widget);
    ASSERT_GT(expected.size(), 30u);
    // The focus chain holds every widget; the tab stops follow each other in template order.
    std::vector<QWidget*> chain;
    QWidget* w = expected.front();
    do {
        if (std::find(expected.begin(), expected.end(), w) != expected.end())
            chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != expected.front() && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowOpening, MembersAreBoundToTheirControls) {
    const std::pair<int, QWidget*> bound[] = {
        {ctl::kSave, &dlg->m_saveButton},         {ctl::kSwitchView, &dlg->m_switchViewButton},
        {ctl::kNextRope, &dlg->m_nextRopeButton}, {ctl::kStartStop, &dlg->m_startStopButton},
        {ctl::kQuit, &dlg->m_quitButton},         {ctl::kAssistant, &dlg->m_assistantButton},
        {ctl::kWrite, &dlg->m_writeButton},       {ctl::kRead, &dlg->m_readButton},
        {ctl::kTotal, &dlg->m_totalLabel},        {ctl::kChart, &dlg->m_chart},
    };
    for (const auto& [id, member] : bound)
        EXPECT_EQ(dlg->GetDlgItem(id), member) << id;
    for (int k = 0; k < kRopes; ++k)
        EXPECT_EQ(dlg->GetDlgItem(ctl::kFirstBar + k), &dlg->m_bars[k]) << k;
}

TEST_F(WindowOpening, StateAndMembersAfterOpening) {
    EXPECT_TRUE(dlg->m_readButton.isEnabled());
    EXPECT_FALSE(dlg->m_writeButton.isEnabled());
    EXPECT_TRUE(dlg->m_startStopButton.isEnabled());
    EXPECT_EQ(dlg->m_startStopButton.text(), Localised(res::kStrStart));
    EXPECT_TRUE(dlg->m_assistantButton.isEnabled());
    EXPECT_FALSE(dlg->m_nextRopeButton.isEnabled());
    EXPECT_TRUE(dlg->GetDlgItem(ctl::kReadImage)->isHidden());
    EXPECT_TRUE(dlg->GetDlgItem(ctl::kWriteImage)->isHidden());

    EXPECT_EQ(dlg->Context().Snapshot().unitFactor, 1.0);
    EXPECT_EQ(dlg->m_barsVisible, 1);
    EXPECT_EQ(dlg->m_referenceRope, -1);
    EXPECT_EQ(dlg->m_currentRope, -1);
    EXPECT_EQ(dlg->m_measuring, 0);
    EXPECT_EQ(dlg->m_comPort, -1);
    EXPECT_EQ(dlg->m_parametersRead, 0);
    EXPECT_FALSE(dlg->m_link.IsOpen());
    EXPECT_FALSE(dlg->windowIcon().isNull());

    // The thread runs, idle, with the window's display settings.
    ASSERT_NE(dlg->Acquisition(), nullptr);
    EXPECT_EQ(dlg->m_context.runFlag.load(), 0);
    EXPECT_EQ(dlg->m_context.assistantActive.load(), 0);
    EXPECT_EQ(dlg->m_context.link, &dlg->m_link);
    EXPECT_EQ(dlg->m_context.Snapshot().unitText, "kg");
    EXPECT_EQ(dlg->m_context.Snapshot().unitFactor, 1.0);
}

TEST_F(WindowOpening, ToolTipsAndIconsAsTheTableSays) {
    const struct {
        CIconButton* button;
        unsigned tip;
        unsigned icon;
    } table[] = {
        {&dlg->m_saveButton, res::kStrTipSave, res::kIconSave},
        {&dlg->m_switchViewButton, res::kStrTipSwitchView, res::kIconShowChart},
        {&dlg->m_nextRopeButton, res::kStrTipNextRope, res::kIconNextRope},
        {&dlg->m_startStopButton, res::kStrTipStartStop, res::kIconStart},
        {&dlg->m_quitButton, res::kStrTipQuit, res::kIconQuit},
        {&dlg->m_assistantButton, res::kStrTipAssistant, res::kIconAssistant},
        {&dlg->m_writeButton, res::kStrTipWrite, res::kIconWrite},
        {&dlg->m_readButton, res::kStrTipRead, res::kIconRead},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.tip);
        ASSERT_NE(row.button->GetToolTip(), nullptr);
        EXPECT_FALSE(Localised(row.tip).isEmpty());
        EXPECT_EQ(row.button->GetToolTip()->GetTipText(), Localised(row.tip));
        EXPECT_EQ(row.button->IconIn(), LoadResourceIcon(CurrentResourceModule(), row.icon, 32)
                                            .convertToFormat(row.button->IconIn().format()));
    }
}

TEST_F(WindowOpening, TwelveHiddenSeriesInTheirColours) {
    constexpr COLORREF y = RGB(255, 255, 0), c = RGB(0, 255, 255), g = RGB(0, 255, 0);
    const COLORREF colours[kRopes] = {y, y, c, g, y, c, g, y, c, g, y, c};
    ASSERT_EQ(dlg->m_chart.GetSeriesCount(), kRopes);
    for (int k = 0; k < kRopes; ++k) {
        const ChartSeries s = dlg->m_chart.GetSeries(k);
        EXPECT_EQ(s.color, colours[k]) << k;
        EXPECT_EQ(s.fullScale, 1000u);
        EXPECT_EQ(s.lowerBound, 0u);
    }
    EXPECT_FALSE(dlg->m_chart.isVisible());
    // The back buffer covers the whole chart, not a default size.
    EXPECT_EQ(dlg->m_chart.GetBackBuffer().size(), dlg->m_chart.size());
}

TEST_F(WindowOpening, BarsAndTotalAsConfigured) {
    for (const CRopeBarCtrl& bar : dlg->m_bars) {
        EXPECT_TRUE(bar.isVisible());
        EXPECT_EQ(bar.m_barColors, (std::vector<COLORREF>{RGB(0, 0, 160), RGB(0, 128, 192)}));
        EXPECT_EQ(bar.m_bkColor, RGB(255, 255, 255));
        EXPECT_EQ(bar.m_textColorOnBar, RGB(255, 255, 255));
        EXPECT_EQ(bar.m_textColorOnBk, RGB(0, 0, 0));
        EXPECT_EQ(
            bar.m_margins.left + bar.m_margins.top + bar.m_margins.right + bar.m_margins.bottom, 0);
        int lower = -1, upper = -1;
        bar.GetRange(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, 1000);
        EXPECT_EQ(bar.GetWindowText(), QStringLiteral("%d"));
        EXPECT_EQ(bar.GetStyle() & RLB_TEXTMASK, RLB_VALUE);
        EXPECT_TRUE(bar.GetStyle() & PBS_VERTICAL);
    }
    EXPECT_EQ(dlg->m_totalLabel.GetCaption(), Localised(res::kStrTotal) + QStringLiteral(": 0 kg"));
    EXPECT_NE(dlg->m_totalLabel.GetLogFont().lfHeight, 0);
    EXPECT_STREQ(dlg->m_totalLabel.GetLogFont().lfFaceName, "Arial");
    EXPECT_TRUE(dlg->m_totalLabel.GetLabelFont().bold());
}

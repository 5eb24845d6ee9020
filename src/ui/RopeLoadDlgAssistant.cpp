// The rope-tension assistant: the rope nearest the mean is the reference, and the bar of the
// rope being adjusted shows a marker at the reference's live load.

#include "RopeLoadDlg.h"

#include "AssistantRopes.h"
#include "AssistantTargets.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "UserDialogs.h"

namespace tensiq {

namespace {

constexpr RECT kAssistantMargins{5, 3, 5, 3};

} // namespace

void CRopeLoadDlg::OnAssistant() {
    if (m_context.assistantActive != 0) {
        StopAssistant();
        return;
    }
    if (m_measuring != 0)
        OnStartStop();

    if (MessageBox(this, ResourceText(res::kStrAssistantWarning), ResourceText(res::kStrNotice),
                   MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;

    if (!OpenIfNotRead(kAssistantTexts) || !OpenAndRead(kAssistantTexts))
        return;
    m_parametersRead = 1;
    ShowParameters(m_storedBlock);

    // One rope leaves nothing to equalise against; the device may report any count.
    const int ropes = AssistantRopeCount(m_storedBlock.RopeCount());
    if (ropes < kAssistantMinRopes) {
        m_link.Close();
        MessageBox(this, ResourceText(res::kStrTooFewRopes), ResourceText(res::kStrNotice),
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    m_readButton.setEnabled(false);
    m_writeButton.setEnabled(false);
    m_startStopButton.setEnabled(false);
    for (CRopeBarCtrl& bar : m_bars) {
        bar.m_margins = kAssistantMargins;
        bar.update();
    }
    ShowParameters(m_storedBlock);
    KeepFoundRun();
    // The run's scale before any position is taken: bars left at another scale cut the
    // loads, and ropes a quarter apart showed equal and green.
    SetRunScale();
    m_context.assistantActive = 1;
    BeginRun();

    ComputeAssistantTargets();
    m_currentRope = FirstAssistantRope(m_referenceRope);
    m_bars[m_currentRope].SetTarget(m_targets[m_currentRope], TRUE);
    m_nextRopeButton.setEnabled(true);
    SetTimer(kMarkerTimer, kMarkerTimerMs);
    m_assistantButton.SetWindowText(ResourceText(res::kStrAssistantEnd));
}

// From the loads the bars show now: the last readings of an earlier run at this run's scale,
// or 0. A load above the full scale counts as itself, not as the full bar.
void CRopeLoadDlg::ComputeAssistantTargets() {
    BarPositions positions{};
    for (int k = 0; k < kRopes; ++k)
        positions[k] = m_bars[k].ShownValue();
    const auto reference =
        tensiq::ComputeAssistantTargets(positions, m_storedBlock.RopeCount(), m_targets);
    m_referenceRope = reference.value_or(0);
    // The report states them in kg, whatever unit the bars showed.
    m_reportTargetsKg.emplace();
    const double factor = UnitFactor();
    for (int k = 0; k < kRopes; ++k)
        (*m_reportTargetsKg)[k] = factor > 0.0 ? m_targets[k] / factor : 0.0;
}

void CRopeLoadDlg::OnNextRope() {
    if (m_context.assistantActive == 0)
        return;
    if (m_currentRope >= 0 && m_currentRope < kRopes)
        m_bars[m_currentRope].SetTarget(0, FALSE);
    const int next = NextAssistantRope(m_currentRope, m_referenceRope, m_storedBlock.RopeCount());
    if (next >= 0)
        m_currentRope = next;
}

int CRopeLoadDlg::StopAssistant() {
    EndRunOnLink(false);
    KeepLeftRun();
    m_assistantButton.SetWindowText(ResourceText(res::kStrAssistantStart));
    m_readButton.setEnabled(true);
    m_writeButton.setEnabled(true);
    m_startStopButton.setEnabled(true);
    RestoreBars();
    m_currentRope = -1;
    update();
    m_parametersRead = 0;
    m_context.assistantActive = 0;
    m_nextRopeButton.setEnabled(false);
    ShowParameters(m_storedBlock);
    return 1;
}

} // namespace tensiq

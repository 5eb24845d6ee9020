// The window's own handlers: about box, sizing, timers and the view switch.

#include "RopeLoadDlg.h"

#include "AboutBox.h"
#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "ResourceIds.h"
#include "ResourceText.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

namespace tensiq {

namespace {
constexpr UINT kCommandMask = 0xFFF0;
} // namespace

void CRopeLoadDlg::ConnectWindowCommands() {
    connect(&m_switchViewButton, &QAbstractButton::clicked, this, [this] { OnSwitchView(); });
}

// A desktop's window menu cannot take an entry of ours; the about entry is offered on the
// window's context menu and on F1 instead, both as the same command.
void CRopeLoadDlg::SetUpAboutEntry() {
    m_aboutText =
        QString::fromStdString(LoadLocalisedString(res::kStrAboutMenu, CurrentResourceModule()));
    if (m_aboutText.isEmpty())
        return;
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { OnSysCommand(kAboutCommand, 0); });
}

void CRopeLoadDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(ResourceText(res::kStrOpenRecordMenu), this, [this] { OnOpenRecord(); });
    if (!m_aboutText.isEmpty())
        menu.addAction(m_aboutText, this, [this] { OnSysCommand(kAboutCommand, 0); });
    AddReportEntry(menu);
    menu.exec(event->globalPos());
}

void CRopeLoadDlg::OnSysCommand(UINT id, LPARAM /*param*/) {
    if ((id & kCommandMask) == kAboutCommand) {
        CAboutBox about(this);
        about.DoModal();
    }
    // Anything else is the window manager's business.
}

void CRopeLoadDlg::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    PlaceAnchored(cx, cy, ctl::kQuit, 10, 10, false);
}

void CRopeLoadDlg::PlaceAnchored(int cx, int cy, int id, int marginX, int marginY, bool keepX) {
    QWidget* control = GetDlgItem(id);
    if (control == nullptr)
        return;
    const QSize size = control->size();
    const int x = keepX ? marginX : cx - size.width() - marginX;
    const int y = cy - size.height() - marginY;
    control->move(x, y);
    control->update();
}

void CRopeLoadDlg::SetTimerHandler(UINT_PTR id, std::function<void()> handler) {
    m_timerHandlers[id] = std::move(handler);
}

void CRopeLoadDlg::OnTimer(UINT_PTR id) {
    if (id == kMarkerTimer) {
        // The current rope's marker follows the reference rope's live load, above the full
        // scale too.
        KillTimer(kMarkerTimer);
        int value = 1;
        if (m_referenceRope >= 0 && m_referenceRope < kRopes)
            value = m_bars[m_referenceRope].ShownValue();
        if (m_currentRope >= 0 && m_currentRope < kRopes)
            m_bars[m_currentRope].SetTarget(value, TRUE);
        SetTimer(kMarkerTimer, kMarkerTimerMs);
        return;
    }
    const auto handler = m_timerHandlers.find(id);
    if (handler != m_timerHandlers.end() && handler->second) {
        handler->second();
        return;
    }
    CDialog::OnTimer(id);
}

void CRopeLoadDlg::OnSwitchView() {
    m_barsVisible = m_barsVisible != 0 ? 0 : 1;
    if (m_barsVisible != 0) {
        m_chart.hide();
        for (CRopeBarCtrl& bar : m_bars)
            bar.show();
        m_switchViewButton.SetIcons(res::kIconShowChart, 0);
    } else {
        m_chart.show();
        for (CRopeBarCtrl& bar : m_bars)
            bar.hide();
        m_switchViewButton.SetIcons(res::kIconShowBars, 0);
    }
}

} // namespace tensiq

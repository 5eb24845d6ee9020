#include "RopeLoadDlg.h"

#include "CurrentResourceModule.h"
#include "DataExchange.h"
#include "Profile.h"
#include "ResourceIcon.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "UserDataFolder.h"
#include "WeightUnit.h"
#include "WindowColours.h"
#include "WindowSink.h"

#include <QPixmap>

namespace tensiq {

namespace {

constexpr int kFullScale = 1000;

DWORD StyleOf(int id) {
    return CDialog::ButtonStyleOf(res::kMainDialog, id);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32}) {
        const QImage image = LoadResourceIcon(CurrentResourceModule(), res::kIconProgram, size);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace

CRopeLoadDlg::CRopeLoadDlg(QWidget* parent, Profile* profile)
    : CDialog(res::kMainDialog, parent), m_link(profile),
      m_saveButton(nullptr, StyleOf(ctl::kSave), ctl::kSave),
      m_switchViewButton(nullptr, StyleOf(ctl::kSwitchView), ctl::kSwitchView),
      m_nextRopeButton(nullptr, StyleOf(ctl::kNextRope), ctl::kNextRope),
      m_startStopButton(nullptr, StyleOf(ctl::kStartStop), ctl::kStartStop),
      m_quitButton(nullptr, StyleOf(ctl::kQuit), ctl::kQuit),
      m_assistantButton(nullptr, StyleOf(ctl::kAssistant), ctl::kAssistant),
      m_writeButton(nullptr, StyleOf(ctl::kWrite), ctl::kWrite),
      m_readButton(nullptr, StyleOf(ctl::kRead), ctl::kRead),
      m_totalLabel(nullptr, SS_LEFT, ctl::kTotal), m_hIcon(ProgramIcon()), m_profile(profile) {}

CRopeLoadDlg::~CRopeLoadDlg() {
    ShutDownAcquisition();
}

void CRopeLoadDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, ctl::kSave, m_saveButton);
    DDX_Control(pDX, ctl::kSwitchView, m_switchViewButton);
    DDX_Control(pDX, ctl::kNextRope, m_nextRopeButton);
    DDX_Control(pDX, ctl::kStartStop, m_startStopButton);
    DDX_Control(pDX, ctl::kQuit, m_quitButton);
    DDX_Control(pDX, ctl::kAssistant, m_assistantButton);
    DDX_Control(pDX, ctl::kWrite, m_writeButton);
    DDX_Control(pDX, ctl::kRead, m_readButton);
    DDX_Control(pDX, ctl::kTotal, m_totalLabel);
    for (int k = 0; k < kRopes; ++k)
        DDX_Control(pDX, ctl::kFirstBar + k, m_bars[k]);
    // The form's fields are exchanged after the controls are bound.
    ExchangeFormFields(pDX);
}

BOOL CRopeLoadDlg::OnInitDialog() {
    if (!m_captionSuffix.isEmpty())
        setWindowTitle(windowTitle() + m_captionSuffix);

    // 1. The chart, in the bars' place, hidden until the view is switched.
    SubclassDlgItem(ctl::kChart, m_chart);
    for (COLORREF colour : kSeriesColours)
        m_chart.AddSeries(colour, kFullScale, 0);
    m_chart.hide();

    // 2. The first exchange binds every control and fills the form.
    CDialog::OnInitDialog();

    // 3. Tool tips; the two icon-only buttons get their icons at once.
    m_saveButton.SetToolTip(ResourceText(res::kStrTipSave), TRUE);
    m_saveButton.SetIcons(res::kIconSave, 0);
    m_switchViewButton.SetToolTip(ResourceText(res::kStrTipSwitchView), TRUE);
    m_switchViewButton.SetIcons(res::kIconShowChart, 0);
    m_nextRopeButton.SetToolTip(ResourceText(res::kStrTipNextRope), TRUE);
    m_startStopButton.SetToolTip(ResourceText(res::kStrTipStartStop), TRUE);
    m_quitButton.SetToolTip(ResourceText(res::kStrTipQuit), TRUE);
    m_assistantButton.SetToolTip(ResourceText(res::kStrTipAssistant), TRUE);
    m_writeButton.SetToolTip(ResourceText(res::kStrTipWrite), TRUE);
    m_readButton.SetToolTip(ResourceText(res::kStrTipRead), TRUE);
    m_nextRopeButton.SetIcons(res::kIconNextRope, 0);
    m_startStopButton.SetIcons(res::kIconStart, 0);
    m_quitButton.SetIcons(res::kIconQuit, 0);
    m_assistantButton.SetIcons(res::kIconAssistant, 0);
    m_writeButton.SetIcons(res::kIconWrite, 0);
    m_readButton.SetIcons(res::kIconRead, 0);

    // 4. and 5. The context of the acquisition thread, which starts idle.
    StartAcquisition();

    // 6. The about entry.
    SetUpAboutEntry();

    // 7. The window icon.
    setWindowIcon(m_hIcon);

    // 8. Writing needs a block read first.
    m_writeButton.setEnabled(false);

    // 9. and 10.
    ConfigureBars();
    ConfigureTotalLabel();

    NameControlsForAssistiveTechnology();
    ConnectWindowCommands();
    // The form, unit, run and save commands connect their buttons below.
    ConnectFormCommands();
    ConnectRunCommands();
    return TRUE;
}

void CRopeLoadDlg::StartAcquisition() {
    m_context.link = &m_link;
    m_context.runFlag = 0;
    m_context.SetUnit(DisplayFactor(Kilogram), UnitText(Kilogram));
    m_context.SetFactor(m_storedBlock.Factor());
    m_context.assistantActive = 0;
    m_context.recordPath = UserDataFile("temp.txt");
    std::array<CRopeBarCtrl*, kRopes> bars{};
    for (int k = 0; k < kRopes; ++k)
        bars[k] = &m_bars[k];
    const WindowSink::Targets targets{bars, &m_chart, &m_totalLabel, this};
    m_sink = m_sinkFactory ? m_sinkFactory(targets) : std::make_unique<WindowSink>(targets);
    m_context.sink = m_sink.get();
    m_acquisition = std::make_unique<AcquisitionThread>(m_context);
    m_acquisition->Start();
}

void CRopeLoadDlg::SetStoredBlock(const ParameterBlock& block) {
    m_storedBlock = block;
    m_context.SetFactor(m_storedBlock.Factor());
}

void CRopeLoadDlg::ShutDownAcquisition() {
    if (m_acquisition) {
        // The thread leaves the link and closes the run's record before it is joined.
        m_acquisition->StopRun();
        m_acquisition.reset();
    }
    m_context.sink = nullptr;
    m_sink.reset();
    // Only the descriptor: the way out sends the device nothing.
    m_link.Close();
}

void CRopeLoadDlg::ConfigureBars() {
    for (CRopeBarCtrl& bar : m_bars) {
        bar.m_margins = {0, 0, 0, 0};
        bar.m_barColors = {kBarColour1, kBarColour2};
        bar.m_bkColor = kBarBackground;
        bar.m_textColorOnBar = kBarTextOnBar;
        bar.m_textColorOnBk = kBarTextOnBackground;
        bar.SetTextFormat(QString(), RLB_PERCENT);
        bar.SetTextFormat(QStringLiteral("%d"), RLB_VALUE);
        bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, kFullScale));
    }
}

void CRopeLoadDlg::ConfigureTotalLabel() {
    m_totalLabel.SetPointSize(16);
    m_totalLabel.SetFaceName(QStringLiteral("Arial"), 0);
    m_totalLabel.SetBold(TRUE);
    m_totalLabel.SetCaption(ResourceText(res::kStrTotal) + QStringLiteral(": 0 kg"), TRUE);
}

void CRopeLoadDlg::OnOK() {
    // Quitting never reads the form: an invalid entry must not hold the window open.
    EndDialog(IDCANCEL);
}

void CRopeLoadDlg::OnCancel() {
    EndDialog(IDCANCEL);
}

void CRopeLoadDlg::done(int result) {
    ShutDownAcquisition();
    CDialog::done(result);
}

} // namespace tensiq

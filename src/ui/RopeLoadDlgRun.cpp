// The measurement run: connecting to the device, "Start" and "Stopp", and the ways a run ends.

#include "RopeLoadDlg.h"

#include "MeasurementScale.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "SaveFailureText.h"
#include "UserDataFolder.h"
#include "UserDialogs.h"
#include "WaitCursor.h"
#include "WindowColours.h"
#include "WindowSink.h"

namespace tensiq {

const CRopeLoadDlg::ConnectTexts CRopeLoadDlg::kStartTexts = {res::kStrNoConnection, res::kStrError,
                                                              res::kStrReadFailed, res::kStrError};
const CRopeLoadDlg::ConnectTexts CRopeLoadDlg::kAssistantTexts = {
    res::kStrNoConnection, res::kStrReadFailed, res::kStrReadFailed, res::kStrReadFailed};

void CRopeLoadDlg::ConnectRunCommands() {
    connect(&m_startStopButton, &QAbstractButton::clicked, this, [this] { OnStartStop(); });
    connect(&m_assistantButton, &QAbstractButton::clicked, this, [this] { OnAssistant(); });
    connect(&m_nextRopeButton, &QAbstractButton::clicked, this, [this] { OnNextRope(); });
    connect(&m_saveButton, &QAbstractButton::clicked, this, [this] { OnSaveMeasurement(); });
    // A run the thread ended for a lost synchronisation stays on until the user ends it; one
    // that lost its device has nothing left to end.
    if (m_sink)
        connect(m_sink.get(), &WindowSink::RunEndedByThread, this, [this] {
            if (m_link.HungUp())
                OnConnectionLost();
        });
}

// The device's port, looked for when unknown, and the link opened unless a block was read before.
bool CRopeLoadDlg::OpenIfNotRead(const ConnectTexts& texts) {
    bool opened = true;
    {
        CWaitCursor wait;
        if (m_parametersRead == 0)
            opened = OpenPort();
        else
            FindPort();
    }
    if (!opened) {
        ForgetPort();
        ShowCommandMessage(texts.linkText, texts.linkCaption);
    }
    return opened;
}

// The link open and the block read. A block that does not come whole leaves the
// stored one as it was.
bool CRopeLoadDlg::OpenAndRead(const ConnectTexts& texts) {
    bool opened = false;
    bool read = false;
    ParameterBlock block = m_storedBlock;
    {
        CWaitCursor wait;
        opened = OpenPort();
        read = opened && m_link.ReadParameters(block);
    }
    if (!opened || !read) {
        ForgetPort();
        if (!opened)
            ShowCommandMessage(texts.linkText, texts.linkCaption);
        else
            ShowCommandMessage(texts.readText, texts.readCaption);
        return false;
    }
    SetStoredBlock(block);
    return true;
}

// The thread leaves the link and closes the record before the port is touched; then the
// device is quietened (the measurement's end) or not (the assistant's end) and let go.
void CRopeLoadDlg::EndRunOnLink(bool quietenDevice) {
    if (m_acquisition)
        m_acquisition->StopRun();
    else
        m_context.runFlag = 0;
    NoteRunEnd();
    if (quietenDevice)
        m_link.StopStreaming();
    m_link.Close();
}

void CRopeLoadDlg::BeginRun() {
    PrepareRunRecord();
    NoteRunStart();
    if (m_acquisition)
        m_acquisition->StartRun();
    else
        m_context.runFlag = 1;
    if (m_context.recordPath.empty() && m_acquisition)
        MessageBox(this,
                   QString::fromStdString(FillPlaceholders(
                       ResourceText(res::kStrRecordNotKept).toStdString(), m_recordNotKept)),
                   ResourceText(res::kStrError), MB_OK | MB_ICONHAND);
}

// A save after this run must hand out this run's record or nothing: the previous run's file
// goes before the run starts.
void CRopeLoadDlg::PrepareRunRecord() {
    m_anyRunStarted = true;
    m_recordNotKept.clear();
    if (m_acquisition)
        m_context.recordPath = FreshUserDataFile("temp.txt", m_recordNotKept);
}

void CRopeLoadDlg::SetRunScale() {
    const int fullScale = MeasurementFullScale(m_storedBlock.Factor(), UnitFactor());
    // Positions shown at another scale (another unit or factor) would read wrong at this one,
    // and the assistant would take them for loads of this run.
    if (m_positionsScale != fullScale)
        for (CRopeBarCtrl& bar : m_bars)
            bar.SetPos(0);
    m_positionsScale = fullScale;
    for (int series = 0; series < kRopes; ++series)
        m_chart.SetFullScale(series, fullScale);
    for (CRopeBarCtrl& bar : m_bars)
        bar.SetRange(0, fullScale);
}

void CRopeLoadDlg::ShowMeasurementStopped() {
    m_readButton.setEnabled(true);
    m_writeButton.setEnabled(true);
    m_startStopButton.SetWindowText(ResourceText(res::kStrStart));
    m_startStopButton.SetIcons(res::kIconStart, 0);
    m_measuring = 0;
}

void CRopeLoadDlg::OnStartStop() {
    if (!OpenIfNotRead(kStartTexts))
        return;

    if (m_measuring != 0) {
        EndRunOnLink(true);
        ShowMeasurementStopped();
        return;
    }

    if (!OpenAndRead(kStartTexts))
        return;
    m_parametersRead = 1;
    ShowParameters(m_storedBlock);
    m_readButton.setEnabled(false);
    m_writeButton.setEnabled(false);
    m_startStopButton.SetWindowText(ResourceText(res::kStrStop));
    m_startStopButton.SetIcons(res::kIconStop, 0);
    SetRunScale();
    m_measuring = 1;
    BeginRun();
}

// The sink has told the user already; the window goes back to idle, and the port is forgotten
// so that the next command finds the device wherever it comes back.
void CRopeLoadDlg::OnConnectionLost() {
    if (m_context.assistantActive != 0) {
        StopAssistant();
    } else if (m_measuring != 0) {
        EndRunOnLink(false); // nobody is left to hear an X
        ShowMeasurementStopped();
    }
    ForgetPort();
}

void CRopeLoadDlg::RestoreBars() {
    for (CRopeBarCtrl& bar : m_bars) {
        bar.SetTarget(0, FALSE);
        bar.m_margins = RECT{0, 0, 0, 0};
        bar.SetBkColor(kBarBackground);
        bar.SetBarColor(kBarColour1, kBarColour2);
        bar.update();
    }
}

} // namespace tensiq

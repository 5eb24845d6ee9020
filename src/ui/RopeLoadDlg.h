#pragma once
// The main window: the parameter form, the weight units, the commands for measuring, for the
// rope-tension assistant and for saving, twelve rope load bars with a chart in their place,
// and the total. It owns the device link and the acquisition thread that feeds the displays.

#include "AcquisitionContext.h"
#include "AcquisitionThread.h"
#include "CaptionLabel.h"
#include "DeviceLink.h"
#include "Dialog.h"
#include "FormValues.h"
#include "IconButton.h"
#include "LineChartCtrl.h"
#include "LiveFrame.h"
#include "ParameterBlock.h"
#include "RopeBarCtrl.h"
#include "ShownWeights.h"
#include "UserDialogs.h"
#include "WindowSink.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;

namespace tensiq {

class CRecordViewer;

class Profile;

// Control ids of template 102 that the window addresses.
namespace ctl {
inline constexpr int kQuit = 1;
inline constexpr int kWrite = 1001;
inline constexpr int kRead = 1002;
inline constexpr int kFirstBar = 1027; // rope k is 1026 + k
inline constexpr int kTotal = 1039;
inline constexpr int kStartStop = 1040;
inline constexpr int kAssistant = 1041;
inline constexpr int kNextRope = 1044;
inline constexpr int kChart = 1045;
inline constexpr int kSwitchView = 1046;
inline constexpr int kSave = 1047;
inline constexpr int kReadImage = 1048;
inline constexpr int kWriteImage = 1049;
} // namespace ctl

// The about entry's command and the window timers.
inline constexpr UINT kAboutCommand = 0x0010;
inline constexpr UINT_PTR kMarkerTimer = 1;
inline constexpr UINT kMarkerTimerMs = 500;
inline constexpr UINT_PTR kUnitTimer = 2;

class CRopeLoadDlg : public CDialog {
    Q_OBJECT
public:
    // profile: where the remembered port and the unit live; none keeps them in memory.
    explicit CRopeLoadDlg(QWidget* parent = nullptr, Profile* profile = nullptr);
    ~CRopeLoadDlg() override;

    // Appended to the template's caption when the window is created (the demo says so).
    void SetCaptionSuffix(const QString& suffix) { m_captionSuffix = suffix; }

    // For the run commands, tests and benchmarks: the thread that feeds the displays, and
    // the sink that takes its readings to this window. Null before the window is created.
    AcquisitionThread* Acquisition() const { return m_acquisition.get(); }
    WindowSink* Sink() const { return m_sink.get(); }
    // Makes the sink when the window is created; a probe of the tests or benchmarks may stand
    // in for the plain one. Set before Create.
    using SinkFactory = std::function<std::unique_ptr<WindowSink>(const WindowSink::Targets&)>;
    void SetSinkFactory(SinkFactory factory) { m_sinkFactory = std::move(factory); }
    AcquisitionContext& Context() { return m_context; }
    DeviceLink& Link() { return m_link; }
    // Every change of m_storedBlock goes through here: the thread reads the block's factor
    // from its context, not from the block.
    void SetStoredBlock(const ParameterBlock& block);
    const ParameterBlock& StoredBlock() const { return m_storedBlock; }

    // --- Window: about box, sizing, timers, view switch ---
    void OnSysCommand(UINT id, LPARAM param);
    void PlaceAnchored(int cx, int cy, int id, int marginX, int marginY, bool keepX);
    void OnSwitchView();
    // Runs handler on each tick of window timer id; the marker timer is the window's own.
    void SetTimerHandler(UINT_PTR id, std::function<void()> handler);

    // --- Measurement run, rope-tension assistant, saving the measurement ---
    void OnStartStop();
    void OnAssistant();
    void OnNextRope();
    int StopAssistant();
    // Sets m_referenceRope and m_targets from the positions the bars show.
    void ComputeAssistantTargets();
    void OnSaveMeasurement();
    // The device went away during a run (GUI thread): the run ends and the port is forgotten,
    // so the next command looks for the device again.
    void OnConnectionLost();

    // --- Saved runs: each file in a viewer window of its own, in the window's unit ---
    void OnOpenRecord();
    void OpenRecords(const QStringList& files);
    // The viewers still open.
    QList<CRecordViewer*> Viewers() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;
    void OnSize(UINT type, int cx, int cy) override;

    void contextMenuEvent(QContextMenuEvent* event) override;
    void done(int result) override;
    // Stops the thread and joins it; the record of a run ends complete. No device command.
    void ShutDownAcquisition();

private:
    void ConnectWindowCommands();
    void SetUpAboutEntry();
    void ConfigureBars();
    void ConfigureTotalLabel();
    void StartAcquisition();
    void NameControlsForAssistiveTechnology();

    // Run, assistant and save.
    struct ConnectTexts {
        unsigned linkText, linkCaption; // the port does not open
        unsigned readText, readCaption; // the block cannot be read
    };
    static const ConnectTexts kStartTexts;
    static const ConnectTexts kAssistantTexts;
    void ConnectRunCommands();
    bool OpenIfNotRead(const ConnectTexts& texts);
    bool OpenAndRead(const ConnectTexts& texts);
    // The device's port: looked for when unknown; opened; let go after a failure.
    void FindPort();
    bool OpenPort();
    void ForgetPort();
    // How a device command went; the no-connection text carries its hint.
    void ShowCommandMessage(unsigned textId, unsigned captionId, UINT icon = MB_ICONHAND);
    // The buttons and the state of no run, after the run ended one way or another.
    void ShowMeasurementStopped();
    void BeginRun();
    // The run's record path, with no record of an earlier run left under it; the user is told
    // when this run cannot be recorded.
    void PrepareRunRecord();
    void EndRunOnLink(bool quietenDevice);
    // The bars' range and the chart's full scale for a run from the stored block's factor and
    // the unit; positions shown at another scale are cleared.
    void SetRunScale();
    // The display factor of the unit shown: the one the acquisition thread uses too.
    double UnitFactor() const { return m_context.Snapshot().unitFactor; }
    bool RunOn() const { return m_measuring != 0 || m_context.assistantActive != 0; }
    void RestoreBars();
    // The scale the bars' positions were last shown at; none before the first run.
    std::optional<int> m_positionsScale;

protected:
    // The window's state: its own, not the program's. Protected only so that the tests' probe
    // (a subclass) can look at it; nothing in the program derives from the window. The stored
    // block and the unit factor are private: the block changes only through SetStoredBlock,
    // and the unit factor is the acquisition context's.
    int m_barsVisible = 1;
    std::array<std::int32_t, kRopes> m_targets{};
    int m_referenceRope = -1;
    int m_currentRope = -1;
    CLineChartCtrl m_chart;
    AcquisitionContext m_context;
    int m_measuring = 0;
    int m_comPort = -1;
    DeviceLink m_link;
    CIconButton m_saveButton;       // 1047
    CIconButton m_switchViewButton; // 1046
    CIconButton m_nextRopeButton;   // 1044
    CIconButton m_startStopButton;  // 1040
    CIconButton m_quitButton;       // 1
    CIconButton m_assistantButton;  // 1041
    CIconButton m_writeButton;      // 1001
    CIconButton m_readButton;       // 1002
    CCaptionLabel m_totalLabel;
    std::array<CRopeBarCtrl, kRopes> m_bars;
    QIcon m_hIcon;
    int m_parametersRead = 0;
    // A run was started: a save without its record says so, not "no measurement yet".
    bool m_anyRunStarted = false;
    // Why the current run has no record; empty when it has one.
    std::string m_recordNotKept;

    // --- Rope-tension report: the run before the assistant as found, the assistant's as left ---
public:
    // The context menu's entry, enabled once both exist.
    QAction* AddReportEntry(QMenu& menu);
    bool ReportReady() const;
    void OnReport();

private:
    void NoteRunStart();
    void NoteRunEnd();
    void KeepFoundRun();
    void KeepLeftRun();
    std::string ReportFile(const char* name) const;

    struct KeptRun {
        bool kept = false;
        double seconds = 0.0;
        std::string start, end;
    };
    KeptRun m_foundRun, m_leftRun;
    std::chrono::steady_clock::time_point m_runStarted{};
    std::string m_runStartText;
    double m_lastRunSeconds = 0.0;
    std::string m_lastRunStartText, m_lastRunEndText;
    std::optional<std::array<double, kRopes>> m_reportTargetsKg;
    ParameterBlock m_reportBlock;

    // --- Parameter form and weight units ---
public:
    void OnReadParameters();
    void OnWriteParameters();
    void OnReadImage();
    void OnWriteImage();
    // Puts the block into the form, converted to the displayed unit, and sets the captions
    // that depend on the device variant.
    void ShowParameters(ParameterBlock block);
    // Reads the form and builds the block to be written; empty when a field failed its check,
    // whose message has then been shown.
    std::optional<ParameterBlock> CollectParameters();
    void SetWeightUnit(int unit);

protected:
    // The form's fields as the data exchange binds them; weights in the displayed unit.
    FormValues m_form;

private:
    void ConnectFormCommands();
    void ExchangeFormFields(CDataExchange* pDX);
    void ExchangeWeight(CDataExchange* pDX, int id, double& value);
    void SetVariantCaptions();
    void ConnectUnitCommands();
    void OnUnitTimer();

    ShownWeights m_shownWeights;

private:
    ParameterBlock m_storedBlock;
    Profile* m_profile;
    QString m_captionSuffix;
    QString m_aboutText;
    std::map<UINT_PTR, std::function<void()>> m_timerHandlers;
    // Made in OnInitDialog, gone before the controls they feed.
    std::unique_ptr<WindowSink> m_sink;
    SinkFactory m_sinkFactory;
    std::unique_ptr<AcquisitionThread> m_acquisition;
    QList<QPointer<CRecordViewer>> m_viewers;
    void UpdateViewerUnits();
};

} // namespace tensiq

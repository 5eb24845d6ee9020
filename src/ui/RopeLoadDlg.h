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

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace tensiq {

class CRecordViewer;

class Profile;
class WindowSink;

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
    AcquisitionContext& Context() { return m_context; }
    DeviceLink& Link() { return m_link; }
    // Every change of m_storedBlock goes through here: the thread reads the block's factor
    // from its context, not from the block.
    void SetStoredBlock(const ParameterBlock& block);

    // --- Window: about box, sizing, timers, view switch ---
    void OnSysCommand(UINT id, LPARAM param);
    QIcon OnQueryDragIcon() const { return m_hIcon; }
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

private:
    void ConnectWindowCommands();
    void SetUpAboutEntry();
    void ConfigureBars();
    void ConfigureTotalLabel();
    void StartAcquisition();
    // Stops the thread and joins it; the record of a run ends complete. No device command.
    void ShutDownAcquisition();
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
    void ForgetPort();
    void ShowRunError(unsigned text, unsigned caption);
    void BeginRun();
    void EndRunOnLink(bool quietenDevice);
    void SetRunScale();
    void RestoreBars();

public:
    // Members in the order of the window's data; form, unit, run and save members follow in
    // the sections of their concerns.
    double m_unitFactor = 1.0;
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
    ParameterBlock m_storedBlock;
    int m_parametersRead = 0;

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

    double m_emptyLoadThreshold = 0.0;
    double m_tare = 0.0;
    double m_ropeDifference = 0.0;
    UINT m_ropeCount = 12;
    double m_overloadThreshold = 0.0;
    double m_slackRopeThreshold = 0.0;
    double m_fullLoadThreshold = 0.0;
    int m_emptyLoadContact = -1;
    int m_overloadContact = -1;
    int m_slackRopeContact = -1;
    int m_fullLoadContact = -1;
    UINT m_factor = 1;
    int m_unit = 0;
    double m_fullScaleLoad = 0.0;
    float m_liveZeroVolts = 0.0f;
    int m_applyToPayload = 0;
    int m_sensorType = 0;

private:
    void ConnectFormCommands();
    void ExchangeFormFields(CDataExchange* pDX);
    void ExchangeWeight(CDataExchange* pDX, int id, double& value);
    void SetVariantCaptions();
    void ShowFormMessage(unsigned textId, unsigned captionId, UINT icon);
    FormValues FormMembers() const;
    void SetFormMembers(const FormValues& values);
    void ConnectUnitCommands();
    void OnUnitTimer();

    ShownWeights m_shownWeights;

private:
    Profile* m_profile;
    QString m_captionSuffix;
    QString m_aboutText;
    std::map<UINT_PTR, std::function<void()>> m_timerHandlers;
    // Made in OnInitDialog, gone before the controls they feed.
    std::unique_ptr<WindowSink> m_sink;
    std::unique_ptr<AcquisitionThread> m_acquisition;
    QList<QPointer<CRecordViewer>> m_viewers;
    void UpdateViewerUnits();
};

} // namespace tensiq

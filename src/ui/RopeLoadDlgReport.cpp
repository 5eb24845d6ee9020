// The rope-tension report from the window: the run before the assistant is kept as found, the
// assistant's run as left; the report states both and judges them by the device's limit.

#include "RopeLoadDlg.h"

#include "LanguageChoice.h"
#include "MeasurementCopy.h"
#include "Profile.h"
#include "ReportDetailsDlg.h"
#include "ReportPdf.h"
#include "ReportRecords.h"
#include "ReportTime.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "UserDialogs.h"
#include "Version.h"
#include "WaitCursor.h"
#include "WeightUnit.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QMenu>

#include <filesystem>

namespace tensiq {

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kSiteEntry = "ReportSite";
constexpr const char* kTechnicianEntry = "ReportTechnician";
constexpr const char* kFoundFile = "report-found.txt";
constexpr const char* kLeftFile = "report-left.txt";

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

// Beside the record, so the demo keeps its copies in its own folder too.
std::string CRopeLoadDlg::ReportFile(const char* name) const {
    if (m_context.recordPath.empty() || m_context.recordPath == "-")
        return {};
    return (std::filesystem::path(m_context.recordPath).parent_path() / name).string();
}

void CRopeLoadDlg::NoteRunStart() {
    m_runStarted = std::chrono::steady_clock::now();
    m_runStartText = report::ReportTime(std::time(nullptr));
}

void CRopeLoadDlg::NoteRunEnd() {
    m_lastRunSeconds = SecondsSince(m_runStarted);
    m_lastRunStartText = m_runStartText;
    m_lastRunEndText = report::ReportTime(std::time(nullptr));
}

// Called before the assistant's run replaces the record: the run before it is the one found.
void CRopeLoadDlg::KeepFoundRun() {
    m_leftRun = {};
    m_foundRun = {};
    const std::string copy = ReportFile(kFoundFile);
    if (copy.empty() || m_lastRunStartText.empty())
        return;
    if (!CopyMeasurement(m_context.recordPath, copy).Ok())
        return;
    m_foundRun = {true, m_lastRunSeconds, m_lastRunStartText, m_lastRunEndText};
    m_reportBlock = m_storedBlock;
}

void CRopeLoadDlg::KeepLeftRun() {
    const std::string copy = ReportFile(kLeftFile);
    const bool running = m_context.assistantActive != 0 && m_context.runFlag != 0;
    // While the thread writes, only the whole lines it has written so far.
    if (copy.empty() || !CopyMeasurement(m_context.recordPath, copy,
                                         running ? CopyExtent::WholeLines : CopyExtent::WholeFile)
                             .Ok()) {
        m_leftRun = {};
        return;
    }
    if (running)
        m_leftRun = {true, SecondsSince(m_runStarted), m_runStartText,
                     report::ReportTime(std::time(nullptr))};
    else
        m_leftRun = {true, m_lastRunSeconds, m_lastRunStartText, m_lastRunEndText};
}

bool CRopeLoadDlg::ReportReady() const {
    return m_foundRun.kept && (m_leftRun.kept || m_context.assistantActive != 0);
}

QAction* CRopeLoadDlg::AddReportEntry(QMenu& menu) {
    QAction* entry =
        menu.addAction(ResourceText(res::kStrReportMenu), this, [this] { OnReport(); });
    entry->setEnabled(ReportReady());
    return entry;
}

void CRopeLoadDlg::OnReport() {
    if (!ReportReady())
        return;
    if (m_context.assistantActive != 0)
        KeepLeftRun();
    if (!m_leftRun.kept)
        return;

    ReportDetails details;
    if (m_profile != nullptr) {
        details.site = QString::fromStdString(m_profile->GetString(kSettings, kSiteEntry, ""));
        details.technician =
            QString::fromStdString(m_profile->GetString(kSettings, kTechnicianEntry, ""));
    }
    if (!AskReportDetails(this, details))
        return;
    if (m_profile != nullptr) {
        m_profile->WriteString(kSettings, kSiteEntry, details.site.toStdString());
        m_profile->WriteString(kSettings, kTechnicianEntry, details.technician.toStdString());
    }

    SaveFileRequest request;
    request.parent = this;
    request.title = ResourceText(res::kStrSaveAs);
    request.filter = QStringLiteral("PDF (*.pdf)|*.pdf|CSV (*.csv)|*.csv||");
    request.defaultExtension = QStringLiteral("pdf");
    request.fileName = ResourceText(res::kStrReportTitle) + QStringLiteral(".pdf");
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.replaceQuestion = ResourceText(res::kStrReplaceFile);
    const QString target = GetSaveFileName(request);
    if (target.isEmpty())
        return;

    CWaitCursor wait;
    report::ReportInput in;
    in.targets = m_reportTargetsKg;
    in.block = m_reportBlock;
    in.ropeDifferenceVariant = g_ropeDifferenceVariant != 0;
    in.firmwareReply =
        m_link.VersionReply().empty() ? m_link.DiscoveredIdentification() : m_link.VersionReply();
    in.port = m_comPort >= 0 ? "COM" + std::to_string(m_comPort) : "-";
    in.programVersion = kVersion;
    in.unitText = UnitText(m_form.unit);
    in.unitFactor = FromKilograms(1.0, m_form.unit);
    in.startTime = m_foundRun.start;
    in.endTime = m_leftRun.end;
    in.site = details.site.toStdString();
    in.lift = details.lift.toStdString();
    in.technician = details.technician.toStdString();
    in.remark = details.remark.toStdString();
    const QDateTime now = QDateTime::currentDateTime();
    in.date = now.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    in.reportId = now.toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();

    const std::string path = target.toStdString();
    std::string error;
    const auto fail = [&](const std::string& why) {
        MessageBox(this,
                   ResourceText(res::kStrReportFailed).arg(target, QString::fromStdString(why)),
                   ResourceText(res::kStrError), MB_OK | MB_ICONHAND);
    };
    const bool csv =
        QFileInfo(target).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
    std::vector<report::RecordAttachment> attachments;
    if (!report::LoadReportRecords({ReportFile(kFoundFile), kFoundFile, m_foundRun.seconds},
                                   {ReportFile(kLeftFile), kLeftFile, m_leftRun.seconds}, in,
                                   csv ? nullptr : &attachments, error))
        return fail(error);
    in.reportId += "-" + in.records.back().sha256.substr(0, 6);
    const auto figures = report::MakeFigures(in, error);
    if (!figures)
        return fail(error);
    bool written = false;
    if (csv) {
        written = report::WriteReportCsv(in, *figures, path, error);
    } else {
        report::ReportTexts texts = report::LoadReportTexts(CurrentResourceModule());
        texts.chinese = LanguageCode() == kLanguageChinese;
        written = report::WriteReportPdf(in, *figures, texts, attachments, path, error);
    }
    if (!written)
        fail(error);
}

} // namespace tensiq

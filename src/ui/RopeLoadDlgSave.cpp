// Saving the last measurement: a copy of the record under a name of the user's choice.

#include "RopeLoadDlg.h"

#include "CurrentResourceModule.h"
#include "MeasurementCopy.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "SaveFailureText.h"
#include "UserDialogs.h"

namespace tensiq {

void CRopeLoadDlg::OnSaveMeasurement() {
    SaveFileRequest request;
    request.parent = this;
    request.filter = QStringLiteral("%1 (*.txt)|*.txt|%2 (*.*)|*.*||")
                         .arg(ResourceText(res::kStrTextFile), ResourceText(res::kStrAllFiles));
    request.defaultExtension = QStringLiteral("txt");
    request.fileName = QStringLiteral("Untitled.txt");
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.title = ResourceText(res::kStrSaveAs);
    request.replaceQuestion = ResourceText(res::kStrReplaceFile);
    const QString target = GetSaveFileName(request);
    if (target.isEmpty())
        return;

    // During a run the thread is still writing: take the whole lines it has written so far.
    const CopyExtent extent =
        m_context.runFlag != 0 ? CopyExtent::WholeLines : CopyExtent::WholeFile;
    const std::string path = target.toStdString();
    CopyResult result = m_context.recordPath.empty()
                            ? CopyResult{CopyFailure::NoRecord, 0}
                            : CopyMeasurement(m_context.recordPath, path, extent);
    // Each run removes the record before it; none left means this run's was never made.
    if (result.failure == CopyFailure::NoRecord && m_anyRunStarted)
        result.failure = CopyFailure::RunNotRecorded;
    if (!result.Ok())
        MessageBox(this,
                   QString::fromStdString(SaveFailureText(result, path, m_context.recordPath,
                                                          CurrentResourceModule())),
                   ResourceText(res::kStrError), MB_OK | MB_ICONHAND);
}

} // namespace tensiq

// Saved runs opened again: the context menu's entry and tensiq --open.

#include "RopeLoadDlg.h"

#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "RecordViewer.h"
#include "ResourceIds.h"
#include "UserDialogs.h"
#include "WeightUnit.h"

namespace tensiq {

namespace {

QString Text(unsigned id) {
    return QString::fromStdString(LoadLocalisedString(id, CurrentResourceModule()));
}

ViewerUnit ViewerUnitOf(int unit) {
    const bool kilograms = !IsKnownUnit(unit) || unit == Kilogram;
    return {kilograms ? 1.0 : DisplayFactor(unit), QString::fromLatin1(UnitText(unit)), kilograms};
}

} // namespace

void CRopeLoadDlg::OnOpenRecord() {
    OpenFileRequest request;
    request.parent = this;
    request.title = Text(res::kStrOpenTitle);
    request.filter = Text(res::kStrTextFile) + QStringLiteral(" (*.txt)|*.txt|") +
                     Text(res::kStrAllFiles) + QStringLiteral(" (*.*)|*.*||");
    OpenRecords(GetOpenFileNames(request));
}

void CRopeLoadDlg::OpenRecords(const QStringList& files) {
    for (const QString& file : files) {
        // A child window, so it closes with the main window and before its language goes.
        auto* viewer = new CRecordViewer(file, ViewerUnitOf(m_form.unit), this);
        m_viewers.append(viewer);
        viewer->show();
    }
}

QList<CRecordViewer*> CRopeLoadDlg::Viewers() const {
    QList<CRecordViewer*> open;
    for (const QPointer<CRecordViewer>& viewer : m_viewers)
        if (viewer)
            open.append(viewer.data());
    return open;
}

void CRopeLoadDlg::UpdateViewerUnits() {
    for (CRecordViewer* viewer : Viewers())
        viewer->SetUnit(ViewerUnitOf(m_form.unit));
}

} // namespace tensiq

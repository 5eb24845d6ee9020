#include "ReportDetailsDlg.h"

#include "ResourceIds.h"
#include "ResourceText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace tensiq {

namespace {

ReportDetailsHandler& Handler() {
    static ReportDetailsHandler handler;
    return handler;
}

bool RunDialog(QWidget* parent, ReportDetails& details) {
    QDialog dialog(parent);
    dialog.setWindowTitle(ResourceText(res::kStrReportTitle));
    auto* form = new QFormLayout(&dialog);
    const auto field = [&](unsigned label, const QString& value) {
        auto* edit = new QLineEdit(value, &dialog);
        edit->setAccessibleName(ResourceText(label));
        form->addRow(ResourceText(label), edit);
        return edit;
    };
    QLineEdit* site = field(res::kStrReportSite, details.site);
    QLineEdit* lift = field(res::kStrReportLift, details.lift);
    QLineEdit* technician = field(res::kStrReportTechnician, details.technician);
    QLineEdit* remark = field(res::kStrReportRemark, details.remark);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    details = {site->text(), lift->text(), technician->text(), remark->text()};
    return true;
}

} // namespace

bool AskReportDetails(QWidget* parent, ReportDetails& details) {
    if (Handler())
        return Handler()(details);
    return RunDialog(parent, details);
}

ReportDetailsHandler SetReportDetailsHandler(ReportDetailsHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

} // namespace tensiq

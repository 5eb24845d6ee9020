#pragma once
// The details a technician adds to a rope-tension report, asked in a small dialog; a test
// answers through the seam instead.

#include <QString>

#include <functional>
#include <utility>

class QWidget;

namespace tensiq {

struct ReportDetails {
    QString site, lift, technician, remark;
};

// Fills details (proposed values in, the user's out); false when the user cancelled.
using ReportDetailsHandler = std::function<bool(ReportDetails& details)>;

bool AskReportDetails(QWidget* parent, ReportDetails& details);

// Replaces how the details are asked; an empty handler brings back the dialog.
ReportDetailsHandler SetReportDetailsHandler(ReportDetailsHandler handler);

class ScopedReportDetailsHandler {
public:
    explicit ScopedReportDetailsHandler(ReportDetailsHandler handler)
        : m_previous(SetReportDetailsHandler(std::move(handler))) {}
    ~ScopedReportDetailsHandler() { SetReportDetailsHandler(std::move(m_previous)); }
    ScopedReportDetailsHandler(const ScopedReportDetailsHandler&) = delete;
    ScopedReportDetailsHandler& operator=(const ScopedReportDetailsHandler&) = delete;

private:
    ReportDetailsHandler m_previous;
};

} // namespace tensiq

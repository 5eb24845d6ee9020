#pragma once
#include "RecordAttachment.h"
#include "ReportTexts.h"
#include "RopeReport.h"

#include <string>
#include <vector>

namespace tensiq::report {

// Writes the report as a one-page A4 PDF with the records embedded (taken from the
// attachments, which it empties), through a temporary file beside path that is renamed into
// place: a failure leaves an older file as it was. False with the reason.
bool WriteReportPdf(const ReportInput& input, const ReportFigures& figures,
                    const ReportTexts& texts, std::vector<RecordAttachment>& attachments,
                    const std::string& path, std::string& error);

// The table as CSV, written the same way.
bool WriteReportCsv(const ReportInput& input, const ReportFigures& figures, const std::string& path,
                    std::string& error);

} // namespace tensiq::report

#pragma once
#include "RecordAttachment.h"
#include "RopeReport.h"

#include <string>

namespace tensiq::report {

// A record a report is made from: the file, the name it is printed and attached under, and how
// long its run took (0: unknown; the line's rate then sets the steady window).
struct RecordSource {
    std::string path;
    std::string name;
    double runSeconds = 0.0;
};

// Reads the as-found and as-left records into input: each rope's steady load, the files with
// their SHA-256, and the found record's date line as the start when none is set; and, when
// attachments is given, the records as PDF attachments. Each file's loads are read while its
// digest is taken on another thread. False with a message naming the file (and the line of a
// bad one).
bool LoadReportRecords(const RecordSource& found, const RecordSource& left, ReportInput& input,
                       std::vector<RecordAttachment>* attachments, std::string& error);

} // namespace tensiq::report

#include "ReportRecords.h"

#include "RecordAttachment.h"
#include "RecordLoads.h"

namespace tensiq::report {

namespace {

bool Load(const RecordSource& source, SteadyLoads& loads, std::string& dateLine,
          RecordFileInfo& info, std::string& error) {
    const RecordLoads read = ReadRecordLoadsOfRun(source.path, source.runSeconds);
    if (!read.ok) {
        error = read.error;
        return false;
    }
    loads = read.loads;
    dateLine = read.dateLine;
    info.name = source.name;
    info.path = source.path;
    info.frames = read.loads.totalFrames;
    info.sha256 = FileSha256(source.path, error);
    return !info.sha256.empty();
}

} // namespace

bool LoadReportRecords(const RecordSource& found, const RecordSource& left, ReportInput& input,
                       std::string& error) {
    RecordFileInfo foundInfo, leftInfo;
    std::string foundDate, leftDate;
    if (!Load(found, input.found, foundDate, foundInfo, error) ||
        !Load(left, input.left, leftDate, leftInfo, error))
        return false;
    if (input.startTime.empty())
        input.startTime = foundDate;
    input.records = {foundInfo, leftInfo};
    return true;
}

} // namespace tensiq::report

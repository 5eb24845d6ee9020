#include "ReportRecords.h"

#include "RecordLoads.h"
#include "ReportTime.h"

#include <future>

namespace tensiq::report {

namespace {

bool Load(const RecordSource& source, SteadyLoads& loads, std::string& dateLine,
          RecordFileInfo& info, RecordAttachment* attachment, std::string& error) {
    std::string digestError;
    auto digest = std::async(std::launch::async, [&] {
        return ReadRecordFile(source.path, source.name, attachment, info.sha256, digestError);
    });
    const RecordLoads read = ReadRecordLoadsOfRun(source.path, source.runSeconds);
    const bool digested = digest.get();
    if (!read.ok) {
        error = read.error;
        return false;
    }
    if (!digested) {
        error = digestError;
        return false;
    }
    loads = read.loads;
    dateLine = read.dateLine;
    info.name = source.name;
    info.path = source.path;
    info.frames = read.loads.totalFrames;
    return true;
}

} // namespace

bool LoadReportRecords(const RecordSource& found, const RecordSource& left, ReportInput& input,
                       std::vector<RecordAttachment>* attachments, std::string& error) {
    RecordFileInfo foundInfo, leftInfo;
    std::string foundDate, leftDate;
    RecordAttachment foundAttachment, leftAttachment;
    const bool attach = attachments != nullptr;
    // Both records at once: each is read twice over (loads and digest), and a machine with
    // more cores than two does the four passes side by side.
    std::string foundError;
    auto foundLoaded = std::async(std::launch::async, [&] {
        return Load(found, input.found, foundDate, foundInfo, attach ? &foundAttachment : nullptr,
                    foundError);
    });
    const bool leftLoaded =
        Load(left, input.left, leftDate, leftInfo, attach ? &leftAttachment : nullptr, error);
    if (!foundLoaded.get()) {
        error = foundError;
        return false;
    }
    if (!leftLoaded)
        return false;
    if (input.startTime.empty())
        input.startTime = ReportTimeOfDateLine(foundDate);
    input.records = {foundInfo, leftInfo};
    if (attach) {
        attachments->clear();
        attachments->push_back(std::move(foundAttachment));
        attachments->push_back(std::move(leftAttachment));
    }
    return true;
}

} // namespace tensiq::report

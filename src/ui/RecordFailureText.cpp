#include "RecordFailureText.h"

#include "LocalisedString.h"
#include "ResourceIds.h"
#include "SaveFailureText.h"

#include <cerrno>
#include <cstring>

namespace tensiq {

namespace {

unsigned StepText(RecordFailure::Step step) {
    switch (step) {
    case RecordFailure::Step::Create:
        return res::kStrRecordNotCreated;
    case RecordFailure::Step::Close:
        return res::kStrRecordNotClosed;
    case RecordFailure::Step::Write:
        break;
    }
    return res::kStrRecordNotWritten;
}

std::string Reason(int error, const res::ResourceModule* module) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return LoadLocalisedString(res::kStrReasonDiskFull, module);
    case EFBIG:
        return LoadLocalisedString(res::kStrReasonTooLarge, module);
    case EACCES:
    case EPERM:
    case EROFS:
        return LoadLocalisedString(res::kStrReasonNoPermission, module);
    case ENOENT:
    case ENOTDIR:
        return LoadLocalisedString(res::kStrReasonNoFolder, module);
    default:
        return std::strerror(error);
    }
}

} // namespace

std::string RecordFailureText(const RecordFailure& failure, const res::ResourceModule* module) {
    std::string text = FillPlaceholders(LoadLocalisedString(StepText(failure.step), module),
                                        failure.path, Reason(failure.error, module));
    if (failure.step == RecordFailure::Step::Write) {
        const unsigned kept =
            failure.ToStandardOutput() ? res::kStrRecordPassedOn : res::kStrRecordKeeps;
        text += "\n" + FillPlaceholders(LoadLocalisedString(kept, module),
                                        std::to_string(failure.framesKept));
    }
    if (failure.lastLineMayBeIncomplete)
        text += "\n" + LoadLocalisedString(res::kStrRecordLastLine, module);
    return text;
}

} // namespace tensiq

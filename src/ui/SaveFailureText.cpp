#include "SaveFailureText.h"

#include "LocalisedString.h"
#include "ResourceIds.h"

#include <cstring>

namespace tensiq {

std::string FillPlaceholders(std::string text, const std::string& first,
                             const std::string& second) {
    std::string out;
    out.reserve(text.size() + first.size() + second.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string SaveFailureText(const CopyResult& result, const std::string& target,
                            const std::string& record, const res::ResourceModule* module) {
    switch (result.failure) {
    case CopyFailure::None:
        return {};
    case CopyFailure::NoRecord:
        return LoadLocalisedString(res::kStrNoRecordYet, module);
    case CopyFailure::RunNotRecorded:
        return LoadLocalisedString(res::kStrRunNotRecorded, module);
    case CopyFailure::SourceUnreadable:
        return FillPlaceholders(LoadLocalisedString(res::kStrRecordUnreadable, module), record,
                                std::strerror(result.error));
    case CopyFailure::TargetNotWritable:
        return FillPlaceholders(LoadLocalisedString(res::kStrSaveNotWritable, module), target);
    case CopyFailure::DiskFull:
        return FillPlaceholders(LoadLocalisedString(res::kStrSaveDiskFull, module), target);
    case CopyFailure::Other:
        break;
    }
    return FillPlaceholders(LoadLocalisedString(res::kStrSaveFailed, module), target,
                            std::strerror(result.error));
}

} // namespace tensiq

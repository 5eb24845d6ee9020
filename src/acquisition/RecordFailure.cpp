#include "RecordFailure.h"

#include <system_error>

namespace tensiq {

std::string RecordFailure::Text() const {
    const std::string name = ToStandardOutput() ? "on standard output" : path;
    const std::string reason = std::generic_category().message(error);
    switch (step) {
    case Step::Create:
        return "The record " + name + " cannot be created: " + reason + ".";
    case Step::Close:
        return "The record " + name + " could not be closed: " + reason + ".";
    case Step::Write:
        break;
    }
    std::string text =
        "The record " + name + " could not be written: " + reason + ". " +
        (ToStandardOutput() ? std::to_string(framesKept) + " frames were passed on before."
                            : "It keeps the first " + std::to_string(framesKept) + " frames.");
    if (lastLineMayBeIncomplete)
        text += " Its last line may be incomplete.";
    return text;
}

} // namespace tensiq

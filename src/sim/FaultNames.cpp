#include "FaultNames.h"

#include <functional>

namespace tensiq::sim {

namespace {

struct FaultName {
    const char* name;
    bool takesNumber;
    const char* help;
    std::function<void(DeviceFaults&, int)> apply;
};

const std::vector<FaultName>& Names() {
    using R = DeviceFaults::StoreReply;
    static const std::vector<FaultName> names = {
        {"never-silent", false, "X does not end a stream",
         [](auto& f, int) { f.neverSilent = true; }},
        {"short-id", false, "V answered with five bytes",
         [](auto& f, int) { f.shortIdentification = true; }},
        {"wrong-echo", false, "D is echoed as 'd'", [](auto& f, int) { f.wrongEcho = true; }},
        {"wrong-terminator", false, "the block ends with 0x0A",
         [](auto& f, int) { f.wrongTerminator = true; }},
        {"short-block", false, "only 100 block bytes", [](auto& f, int) { f.shortBlock = true; }},
        {"no-store-reply", false, "PROG is not answered",
         [](auto& f, int) { f.storeReply = R::None; }},
        {"short-store-reply", false, "PROG answered with one byte",
         [](auto& f, int) { f.storeReply = R::Short; }},
        {"wrong-store-first", false, "PROG answered with 'QO'",
         [](auto& f, int) { f.storeReply = R::WrongFirst; }},
        {"wrong-store-second", false, "PROG answered with 'PQ'",
         [](auto& f, int) { f.storeReply = R::WrongSecond; }},
        {"store-differs", true, "byte N of a written block is stored changed",
         [](auto& f, int n) { f.storeDiffersAt = n; }},
        {"no-image-ack", false, "an image write is not acknowledged",
         [](auto& f, int) { f.noImageAck = true; }},
        {"image-differs", true, "byte N of a written image is stored changed",
         [](auto& f, int n) { f.imageDiffersAt = n; }},
        {"bad-marker", true, "every Nth frame has a wrong marker",
         [](auto& f, int n) { f.badMarkerEvery = n; }},
        {"bad-terminator", true, "every Nth frame has a wrong terminator",
         [](auto& f, int n) { f.badTerminatorEvery = n; }},
        {"drop-byte", true, "every Nth frame loses a byte",
         [](auto& f, int n) { f.dropByteEvery = n; }},
        {"no-cr", false, "the stream never carries 0x0D",
         [](auto& f, int) { f.noCarriageReturn = true; }},
        {"hang-up", true, "the line goes dead after N frames",
         [](auto& f, int n) { f.hangUpAfterFrames = n; }},
    };
    return names;
}

} // namespace

bool ApplyFault(const std::string& spec, DeviceFaults& faults, std::string& error) {
    const auto eq = spec.find('=');
    const std::string name = spec.substr(0, eq);
    for (const FaultName& f : Names()) {
        if (name != f.name)
            continue;
        int number = 0;
        if (f.takesNumber) {
            try {
                std::size_t used = 0;
                number = eq == std::string::npos ? -1 : std::stoi(spec.substr(eq + 1), &used);
                if (eq == std::string::npos || used != spec.size() - eq - 1 || number < 0) {
                    error = "fault " + name + " needs a number: " + name + "=N";
                    return false;
                }
            } catch (const std::exception&) {
                error = "fault " + name + " needs a number: " + name + "=N";
                return false;
            }
        } else if (eq != std::string::npos) {
            error = "fault " + name + " takes no number";
            return false;
        }
        f.apply(faults, number);
        return true;
    }
    error = "unknown fault: " + name;
    return false;
}

std::vector<std::pair<std::string, std::string>> FaultList() {
    std::vector<std::pair<std::string, std::string>> list;
    for (const FaultName& f : Names())
        list.emplace_back(std::string(f.name) + (f.takesNumber ? "=N" : ""), f.help);
    return list;
}

} // namespace tensiq::sim

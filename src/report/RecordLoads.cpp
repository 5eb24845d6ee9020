#include "RecordLoads.h"

#include "RecordReader.h"

namespace tensiq::report {

namespace {

RecordLoads Read(const std::string& path, std::int64_t capacity,
                 const std::function<std::int64_t(std::int64_t frames)>& window) {
    RecordLoads out;
    SteadyWindow ring(capacity);
    const RecordSummary summary =
        ReadRecord(path, [&](std::int64_t, const std::array<std::int32_t, kRecordRopes>& loads) {
            ring.Add(loads);
            return true;
        });
    out.dateLine = summary.dateLine;
    switch (summary.status) {
    case RecordStatus::Complete:
        break;
    case RecordStatus::StoppedAtBadLine:
        out.error =
            path + ": line " + std::to_string(summary.problem.line) + ": " + summary.problem.what;
        return out;
    case RecordStatus::NotARecord:
        out.error = path + " is not a measurement record: " + summary.problem.what;
        return out;
    case RecordStatus::CannotOpen:
        out.error = path + " cannot be read: " + summary.problem.what;
        return out;
    case RecordStatus::Cancelled:
        out.error = path + ": reading was cancelled";
        return out;
    }
    if (summary.frames == 0) {
        out.error = path + " holds no frames";
        return out;
    }
    out.loads = ring.Result(window(summary.frames));
    out.ok = true;
    return out;
}

} // namespace

RecordLoads ReadRecordLoads(const std::string& path, std::int64_t steadyFrames) {
    return Read(path, steadyFrames, [&](std::int64_t) { return steadyFrames; });
}

RecordLoads ReadRecordLoadsOfRun(const std::string& path, double runSeconds) {
    // No run is faster than the line; its last seconds lie within the line's worth of frames.
    return Read(path, SteadyWindowFrames(kLineFramesPerSecond),
                [&](std::int64_t frames) { return SteadyWindowFramesOfRun(frames, runSeconds); });
}

} // namespace tensiq::report

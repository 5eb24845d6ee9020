#include "RopeReport.h"

#include <algorithm>

namespace tensiq::report {

int ReportRopeCount(const ReportInput& input) {
    if (!input.block)
        return kReportRopes;
    return std::min<int>(input.block->RopeCount(), kReportRopes);
}

LoadFigures ComputeLoadFigures(const SteadyLoads& loads, int ropes) {
    LoadFigures out;
    if (ropes <= 0)
        return out;
    double sum = 0.0;
    out.min = out.max = loads.ropes[0].mean;
    for (int k = 0; k < ropes; ++k) {
        const double v = loads.ropes[k].mean;
        sum += v;
        out.min = std::min(out.min, v);
        out.max = std::max(out.max, v);
    }
    out.mean = sum / ropes;
    out.spreadKg = out.max - out.min;
    const auto percent = [&](double kg) { return out.mean > 0.0 ? kg / out.mean * 100.0 : 0.0; };
    out.spreadPercent = percent(out.spreadKg);
    for (int k = 0; k < ropes; ++k) {
        const double d = loads.ropes[k].mean - out.mean;
        out.deviationKg.push_back(d);
        out.deviationPercent.push_back(percent(d));
    }
    return out;
}

namespace {

// The allowed rope difference as the form shows it: a rope-difference device keeps it in the
// relay threshold's word, and its own word then holds the minimum load per rope.
double AllowedDifference(const ParameterBlock& block, bool variant) {
    return variant ? block.EmptyLoadThreshold() : block.RopeDifference();
}

} // namespace

std::optional<ReportFigures> MakeFigures(const ReportInput& input, std::string& error) {
    ReportFigures out;
    out.ropes = ReportRopeCount(input);
    if (out.ropes < 2) {
        error = "a report needs at least two ropes; the parameter block gives " +
                std::to_string(out.ropes);
        return std::nullopt;
    }
    out.found = ComputeLoadFigures(input.found, out.ropes);
    out.left = ComputeLoadFigures(input.left, out.ropes);

    if (!input.block) {
        out.reason = NotAssessedReason::NoBlock;
    } else {
        out.allowedFromRelayThreshold = input.ropeDifferenceVariant;
        out.allowedKg = AllowedDifference(*input.block, input.ropeDifferenceVariant);
        if (out.allowedKg <= 0.0)
            out.reason = NotAssessedReason::NoAllowedDifference;
        else if (input.left.frames == 0 || out.left.mean <= 0.0)
            out.reason = NotAssessedReason::NoLoad;
    }
    const bool judged = out.reason == NotAssessedReason::None;
    if (judged)
        out.verdict = out.left.spreadKg <= out.allowedKg ? Verdict::Pass : Verdict::Fail;

    const double half = out.allowedKg / 2.0;
    for (int k = 0; k < out.ropes; ++k) {
        RopeRow row;
        row.rope = k + 1;
        row.found = input.found.ropes[k].mean;
        row.foundDeviationPercent = out.found.deviationPercent[k];
        if (input.targets)
            row.target = (*input.targets)[k];
        row.left = input.left.ropes[k].mean;
        row.leftDeviation = out.left.deviationKg[k];
        row.leftDeviationPercent = out.left.deviationPercent[k];
        if (!judged)
            row.state = RopeState::NotAssessed;
        else if (out.verdict == Verdict::Pass)
            row.state = RopeState::Ok; // the device judges the spread, not the distance to the mean
        else if (row.leftDeviation > half)
            row.state = RopeState::High;
        else if (row.leftDeviation < -half)
            row.state = RopeState::Low;
        else
            row.state = RopeState::Ok;
        if (row.state == RopeState::High || row.state == RopeState::Low)
            out.ropesOutside.push_back(row.rope);
        out.rows.push_back(row);
    }
    return out;
}

} // namespace tensiq::report

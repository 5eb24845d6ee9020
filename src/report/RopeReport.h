#pragma once
// What a rope-tension report states: the loads found and left, rope by rope, and whether the
// spread of the loads left meets the device's own allowed rope difference.

#include "ParameterBlock.h"
#include "SteadyLoads.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tensiq::report {

struct RecordFileInfo {
    std::string name;   // as printed and attached
    std::string path;   // where it is read from
    std::string sha256; // lowercase hex
    std::int64_t frames = 0;
};

struct ReportInput {
    SteadyLoads found;
    SteadyLoads left;
    // The assistant's targets in kg, when it ran.
    std::optional<std::array<double, kReportRopes>> targets;
    std::optional<ParameterBlock> block; // none: no block was read
    bool ropeDifferenceVariant = false;
    std::string firmwareReply;
    std::string port;
    std::string programVersion;
    std::string unitText = "kg";
    double unitFactor = 1.0; // kg to the unit shown
    std::string startTime, endTime;
    std::vector<RecordFileInfo> records;
    std::string site, lift, technician, remark;
    std::string reportId, date;
};

enum class Verdict { Pass, Fail, NotAssessed };
enum class RopeState { Ok, High, Low, NotAssessed };
// Why a report could not be judged.
enum class NotAssessedReason { None, NoBlock, NoAllowedDifference, NoLoad };

// Mean, range and spread of one set of loads over the ropes, in kg; percentages of the mean.
struct LoadFigures {
    double mean = 0.0, min = 0.0, max = 0.0;
    double spreadKg = 0.0, spreadPercent = 0.0;
    std::vector<double> deviationKg, deviationPercent; // per rope, from the mean
};

struct RopeRow {
    int rope = 0; // 1 ...
    double found = 0.0, foundDeviationPercent = 0.0;
    std::optional<double> target;
    double left = 0.0, leftDeviation = 0.0, leftDeviationPercent = 0.0;
    RopeState state = RopeState::NotAssessed;
};

struct ReportFigures {
    int ropes = 0;
    LoadFigures found, left;
    std::vector<RopeRow> rows;
    Verdict verdict = Verdict::NotAssessed;
    NotAssessedReason reason = NotAssessedReason::None;
    // The limit judged by, in kg, and which field it came from.
    double allowedKg = 0.0;
    bool allowedFromRelayThreshold = false; // bytes 4-5 of a rope-difference device
    std::vector<int> ropesOutside;          // 1-based, for a FAIL
};

// The ropes a report covers: the block's rope count, at most twelve; twelve without a block.
int ReportRopeCount(const ReportInput& input);

// Empty with a reason when the input cannot make a report (fewer than two ropes).
std::optional<ReportFigures> MakeFigures(const ReportInput& input, std::string& error);

LoadFigures ComputeLoadFigures(const SteadyLoads& loads, int ropes);

} // namespace tensiq::report

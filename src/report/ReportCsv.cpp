#include "ReportCsv.h"

#include "ReportNumbers.h"

namespace tensiq::report {

const char* RopeStateKey(RopeState state) {
    switch (state) {
    case RopeState::Ok:
        return "OK";
    case RopeState::High:
        return "HIGH";
    case RopeState::Low:
        return "LOW";
    case RopeState::NotAssessed:
        break;
    }
    return "-";
}

const char* VerdictKey(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return "PASS";
    case Verdict::Fail:
        return "FAIL";
    case Verdict::NotAssessed:
        break;
    }
    return "NOT ASSESSED";
}

std::string ReportCsv(const ReportInput& input, const ReportFigures& figures) {
    const std::string& u = input.unitText;
    const int decimals = UnitDecimals(u);
    const auto weight = [&](double kg) { return FormatFixed(kg * input.unitFactor, decimals); };
    std::string out = "rope,as_found_" + u + ",as_found_deviation_percent,target_" + u +
                      ",as_left_" + u + ",as_left_deviation_percent,as_left_sd_" + u + ",state\n";
    for (const RopeRow& row : figures.rows) {
        out += std::to_string(row.rope) + ',' + weight(row.found) + ',' +
               FormatFixed(row.foundDeviationPercent, 2) + ',' +
               (row.target ? weight(*row.target) : std::string()) + ',' + weight(row.left) + ',' +
               FormatFixed(row.leftDeviationPercent, 2) + ',' +
               weight(input.left.ropes[row.rope - 1].deviation) + ',' + RopeStateKey(row.state) +
               '\n';
    }
    return out;
}

} // namespace tensiq::report

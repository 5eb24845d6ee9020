#include "Commands.h"
#include "CsvExport.h"
#include "RangeStatistics.h"
#include "RecordReader.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <limits>

namespace tensiq::cli {

namespace {

struct StatsOptions {
    std::string path;
    std::int64_t from = 1;
    std::int64_t to = std::numeric_limits<std::int64_t>::max();
    bool toGiven = false;
    bool json = false;
};

std::string Fixed(double value) {
    return FormatNumber(value, 3);
}

int RunStats(const StatsOptions& o) {
    if (o.from < 1 || o.to < o.from) {
        std::cerr << "--from must be at least 1 and --to at least --from.\n";
        return kExitUsage;
    }
    RangeStatistics stats;
    const RecordSummary summary = ReadRecord(
        o.path, [&](std::int64_t frame, const std::array<std::int32_t, kRecordRopes>& loads) {
            if (frame > o.to)
                return false; // the range is whole; the rest of the file does not matter
            if (frame >= o.from)
                stats.Add(loads);
            return true;
        });
    switch (summary.status) {
    case RecordStatus::CannotOpen:
        std::cerr << "The record " << o.path << " cannot be read: " << summary.problem.what
                  << ".\n";
        return kExitUsage;
    case RecordStatus::NotARecord:
        std::cerr << o.path << " is not a record: " << summary.problem.what << ".\n";
        return kExitUsage;
    case RecordStatus::StoppedAtBadLine:
        std::cerr << o.path << ":" << summary.problem.line << ": " << summary.problem.what
                  << " (line 1 is the date line).\n";
        return kExitUsage;
    case RecordStatus::Complete:
    case RecordStatus::Cancelled:
        break;
    }
    const RangeSummary s = stats.Summary();
    if (s.frames == 0 ||
        (o.toGiven && summary.status == RecordStatus::Complete && summary.frames < o.to)) {
        std::cerr << "The record holds " << summary.frames << " frames; the range " << o.from
                  << " to " << (o.toGiven ? std::to_string(o.to) : std::string("its end"))
                  << " is not inside it.\n";
        return kExitUsage;
    }
    const std::int64_t to = o.from + s.frames - 1;
    if (o.json) {
        nlohmann::ordered_json ropes = nlohmann::ordered_json::array();
        for (int rope = 0; rope < kRecordRopes; ++rope) {
            const SeriesStatistics& r = s.ropes[rope];
            ropes.push_back({{"rope", rope + 1},
                             {"mean", r.mean},
                             {"min", r.min},
                             {"max", r.max},
                             {"std", r.std}});
        }
        const nlohmann::ordered_json out = {
            {"file", o.path},
            {"date", summary.dateLine},
            {"frames", s.frames},
            {"from", o.from},
            {"to", to},
            {"ropes", ropes},
            {"total", {{"mean", s.total.mean}, {"min", s.total.min}, {"max", s.total.max}}},
            {"spread_kg", s.spreadKg},
            {"spread_percent", s.spreadPercent}};
        // A date in a locale's own script may not be UTF-8; replace rather than fail.
        std::cout << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return kExitOk;
    }
    std::cout << "Record: " << o.path << "\nDate: " << summary.dateLine << "\nFrames " << o.from
              << " to " << to << " (" << s.frames << ")\n\nrope        mean     min     max"
              << "       std (kg)\n";
    for (int rope = 0; rope < kRecordRopes; ++rope) {
        const SeriesStatistics& r = s.ropes[rope];
        char line[160];
        std::snprintf(line, sizeof line, "%4d %11s %7lld %7lld %13s\n", rope + 1,
                      Fixed(r.mean).c_str(), static_cast<long long>(r.min),
                      static_cast<long long>(r.max), Fixed(r.std).c_str());
        std::cout << line;
    }
    std::cout << "total " << Fixed(s.total.mean) << " (min " << s.total.min << ", max "
              << s.total.max << ")\nspread of the rope means: " << Fixed(s.spreadKg) << " kg, "
              << Fixed(s.spreadPercent) << " %\n";
    return kExitOk;
}

} // namespace

void AddStatsCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand(
        "stats", "mean, minimum, maximum and standard deviation of each rope over a range of a "
                 "saved record, and the spread of the rope means");
    auto o = std::make_shared<StatsOptions>();
    cmd->add_option("RECORD", o->path, "a record file as the program writes it")->required();
    cmd->add_option("--from", o->from, "first frame (the line after the date line is frame 1)");
    auto* to = cmd->add_option("--to", o->to, "last frame, included; default: the last");
    cmd->add_flag("--json", o->json, "print one JSON object");
    cmd->callback([&tool, o, to] {
        o->toGiven = to->count() > 0;
        tool.status = RunStats(*o);
    });
}

} // namespace tensiq::cli

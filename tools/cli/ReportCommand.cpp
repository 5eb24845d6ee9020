// tensiq-cli report: the rope-tension report from two saved records and a parameter backup.
#include "Commands.h"
#include "DeviceLink.h"
#include "InputFile.h"
#include "LanguageByLocale.h"
#include "LanguageChoice.h"
#include "ParameterJson.h"
#include "Profile.h"
#include "ReportCsv.h"
#include "ReportPdf.h"
#include "ReportRecords.h"
#include "ReportTexts.h"
#include "ReportTime.h"
#include "Version.h"
#include "WeightUnit.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <malloc.h>
#include <memory>

namespace tensiq::cli {

namespace {

inline constexpr int kExitReportFail = 1;
constexpr std::size_t kMaxParameterFile = 64 * 1024;

struct ReportOptions {
    std::string found, left, params, firmware;
    std::string site, lift, technician, remark;
    std::string language, unit;
    std::string out, csv;
    bool json = false;
};

std::string LocalTime(std::time_t when, const char* format) {
    std::tm tm{};
    localtime_r(&when, &tm);
    char text[64];
    return std::strftime(text, sizeof text, format, &tm) ? text : "";
}

std::string FileTime(const std::string& path) {
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec)
        return {};
    const auto system = std::chrono::file_clock::to_sys(written);
    return report::ReportTime(std::chrono::system_clock::to_time_t(system));
}

// The block of a parameter backup: every field named, each within what the device accepts.
bool ReadBlockFile(const std::string& file, ParameterBlock& block, std::string& error) {
    std::string text;
    if (!ReadInputFile(file, kMaxParameterFile, text, error))
        return false;
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded()) {
        error = file + " is not valid JSON";
        return false;
    }
    if (!CheckJson(json, error)) {
        error = file + ": " + error;
        return false;
    }
    // A report judges by the device's limit: a backup missing a field is not that device's.
    const nlohmann::ordered_json fields = BlockToJson(ParameterBlock{});
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const std::string& key = it.key();
        if (!json.contains(key) && key != "reserved" && key != "deviceData" && key != "checksum") {
            error = file + ": field \"" + key + "\" is missing";
            return false;
        }
    }
    block = ParameterBlock{};
    if (!OverlayJson(json, block, error)) {
        error = file + ": " + error;
        return false;
    }
    return true;
}

int UnitByName(const std::string& name) {
    for (int unit = Kilogram; unit <= Pound; ++unit)
        if (name == UnitText(unit))
            return unit;
    return -1;
}

// The language a report is asked for, from the program's private folder only: a library left
// beside the program must not change a report that names its language.
bool ChooseReportLanguage(const std::string& name, std::string& error) {
    if (name.empty()) {
        ChooseLanguage();
        return true;
    }
    const int wanted = LanguageFromOption(name).value_or(kLanguageUnchosen);
    const std::string folder = PrivateLibraryFolder(ProgramFolder());
    ChooseLanguage(std::string(), folder, wanted);
    if (LanguageCode() != wanted) {
        error = "the language library for \"" + name + "\" is not installed in " + folder;
        return false;
    }
    return true;
}

nlohmann::ordered_json LoadJson(const report::LoadFigures& l) {
    return {{"meanKg", l.mean},
            {"minKg", l.min},
            {"maxKg", l.max},
            {"spreadKg", l.spreadKg},
            {"spreadPercent", l.spreadPercent},
            {"deviationKg", l.deviationKg},
            {"deviationPercent", l.deviationPercent}};
}

nlohmann::ordered_json FiguresJson(const report::ReportInput& in, const report::ReportFigures& f) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const report::RopeRow& r : f.rows) {
        nlohmann::ordered_json row = {{"rope", r.rope},
                                      {"foundKg", r.found},
                                      {"foundDeviationPercent", r.foundDeviationPercent},
                                      {"leftKg", r.left},
                                      {"leftSdKg", in.left.ropes[r.rope - 1].deviation},
                                      {"leftDeviationKg", r.leftDeviation},
                                      {"leftDeviationPercent", r.leftDeviationPercent},
                                      {"state", report::RopeStateKey(r.state)}};
        rows.push_back(row);
    }
    nlohmann::ordered_json records = nlohmann::ordered_json::array();
    for (const report::RecordFileInfo& r : in.records)
        records.push_back({{"name", r.name}, {"frames", r.frames}, {"sha256", r.sha256}});
    return {{"verdict", report::VerdictKey(f.verdict)},
            {"allowedDifferenceKg", f.reason == report::NotAssessedReason::NoBlock
                                        ? nlohmann::ordered_json(nullptr)
                                        : nlohmann::ordered_json(f.allowedKg)},
            {"allowedFrom", f.allowedFromRelayThreshold ? "ropeDifferenceRelay" : "ropeDifference"},
            {"ropes", f.ropes},
            {"ropesOutside", f.ropesOutside},
            {"steadyFrames", {{"found", in.found.frames}, {"left", in.left.frames}}},
            {"found", LoadJson(f.found)},
            {"left", LoadJson(f.left)},
            {"rows", rows},
            {"records", records}};
}

// QPdfWriter needs a GUI application for its fonts; without a display it draws offscreen.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "tensiq-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int Refuse(const std::string& message) {
    std::cerr << "No report: " << message << ".\n";
    return kExitUsage;
}

int Run(Tool& tool, const ReportOptions& o) {
    if (o.out.empty() && o.csv.empty() && !o.json)
        return Refuse("name at least one of --out, --csv and --json");
    // The buffers of an hour's record come and go; from the heap, freed ones would stay mapped
    // while the PDF takes its own copy of the attachments.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    std::string error;
    report::ReportInput in;
    if (!o.params.empty()) {
        ParameterBlock block;
        if (!ReadBlockFile(o.params, block, error))
            return Refuse(error);
        in.block = block;
    }
    in.firmwareReply = o.firmware;
    in.ropeDifferenceVariant =
        o.firmware.size() > 1 && (o.firmware[1] == 'C' || o.firmware[1] == 'c');

    int unit = tool.profile ? tool.profile->GetInt("Settings", "Unit", Kilogram) : Kilogram;
    if (!o.unit.empty())
        unit = UnitByName(o.unit);
    if (!IsKnownUnit(unit))
        unit = Kilogram;
    in.unitText = UnitText(unit);
    in.unitFactor = FromKilograms(1.0, unit);

    std::vector<report::RecordAttachment> attachments;
    if (!LoadReportRecords({o.found, std::filesystem::path(o.found).filename().string()},
                           {o.left, std::filesystem::path(o.left).filename().string()}, in,
                           o.out.empty() ? nullptr : &attachments, error))
        return Refuse(error);
    in.endTime = FileTime(o.left);
    in.port = tool.port.given.empty() ? "-" : tool.port.given;
    in.programVersion = kVersion;
    in.site = o.site;
    in.lift = o.lift;
    in.technician = o.technician;
    in.remark = o.remark;
    const std::time_t now = std::time(nullptr);
    in.date = LocalTime(now, "%Y-%m-%d %H:%M");
    in.reportId = LocalTime(now, "%Y%m%d-%H%M%S") + "-" + in.records.back().sha256.substr(0, 6);

    const auto figures = report::MakeFigures(in, error);
    if (!figures)
        return Refuse(error);

    if (!o.out.empty()) {
        if (!ChooseReportLanguage(o.language, error))
            return Refuse(error);
        const auto app = MakeGuiApplication();
        report::ReportTexts texts = report::LoadReportTexts(CurrentResourceModule());
        texts.chinese = LanguageCode() == kLanguageChinese;
        if (!report::WriteReportPdf(in, *figures, texts, attachments, o.out, error))
            return Refuse(o.out + ": " + error);
    }
    if (!o.csv.empty() && !report::WriteReportCsv(in, *figures, o.csv, error))
        return Refuse(o.csv + ": " + error);
    if (o.json)
        std::cout << FiguresJson(in, *figures).dump(2) << "\n";
    else
        std::cerr << report::VerdictKey(figures->verdict) << "\n";
    return figures->verdict == report::Verdict::Fail ? kExitReportFail : kExitOk;
}

} // namespace

void AddReportCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand(
        "report", "the rope-tension report (PDF, CSV, JSON) from the records before and after "
                  "the ropes were adjusted; exit 0 passed or not assessed, 1 failed, 2 refused");
    auto o = std::make_shared<ReportOptions>();
    cmd->add_option("--found", o->found, "record of the run before the adjustment")->required();
    cmd->add_option("--left", o->left, "record of the run after the adjustment")->required();
    cmd->add_option("--params", o->params,
                    "the device's parameter block, as printed by params read --json; without "
                    "it the loads are not assessed");
    cmd->add_option("--firmware", o->firmware,
                    "the device's identification reply (e.g. \"LC1.10\"); a C as second letter "
                    "judges by the rope-difference relay's threshold");
    cmd->add_option("--site", o->site, "where the lift is");
    cmd->add_option("--lift", o->lift, "the lift's number");
    cmd->add_option("--technician", o->technician, "who adjusted the ropes");
    cmd->add_option("--remark", o->remark, "a remark printed with the report");
    cmd->add_option("--language", o->language, "de, en or zh (default: as the window)")
        ->check(CLI::IsMember({"de", "en", "zh"}));
    cmd->add_option("--unit", o->unit, "kg, tn.sh., tn.l. or lbs (default: as the window)")
        ->check(CLI::IsMember({"kg", "tn.sh.", "tn.l.", "lbs"}));
    cmd->add_option("--out", o->out, "the PDF to write");
    cmd->add_option("--csv", o->csv, "the table as CSV");
    cmd->add_flag("--json", o->json, "print the figures as JSON");
    cmd->callback([&tool, o] { tool.status = Run(tool, *o); });
}

} // namespace tensiq::cli

#include "ReportTexts.h"

#include "DialogTemplate.h"
#include "LocalisedString.h"
#include "ResourceIds.h"

namespace tensiq::report {

namespace {

// The form's labels of the repeated fields (template 102).
constexpr int kTareLabel = 1004;
constexpr int kRopeDifferenceLabel = 1013;
constexpr int kRopeCountLabel = 1017;
constexpr int kFactorLabel = 1042;

std::string Label(const res::ResourceModule* module, int id) {
    const res::DialogTemplate* dialog = res::FindDialog(module, res::kMainDialog);
    const res::DialogControl* control = dialog ? res::FindControl(*dialog, id) : nullptr;
    return control && control->text ? control->text : "";
}

} // namespace

ReportTexts LoadReportTexts(const res::ResourceModule* module) {
    const auto s = [module](unsigned id) { return LoadLocalisedString(id, module); };
    ReportTexts t;
    t.title = s(res::kStrReportTitle);
    t.reportId = s(res::kStrReportId);
    t.date = s(res::kStrReportDate);
    t.site = s(res::kStrReportSite);
    t.lift = s(res::kStrReportLift);
    t.technician = s(res::kStrReportTechnician);
    t.remark = s(res::kStrReportRemark);
    t.device = s(res::kStrReportDevice);
    t.port = s(res::kStrReportPort);
    t.firmware = s(res::kStrReportFirmware);
    t.program = s(res::kStrReportProgram);
    t.period = s(res::kStrReportPeriod);
    t.ropeCount = Label(module, kRopeCountLabel);
    t.factor = Label(module, kFactorLabel);
    t.tare = Label(module, kTareLabel);
    t.allowedDifference = Label(module, kRopeDifferenceLabel);
    t.rope = s(res::kStrReportRope);
    t.found = s(res::kStrReportFound);
    t.deviation = s(res::kStrReportDeviation);
    t.target = s(res::kStrReportTarget);
    t.left = s(res::kStrReportLeft);
    t.state = s(res::kStrReportState);
    t.summary = s(res::kStrReportSummary);
    t.pass = s(res::kStrReportPass);
    t.fail = s(res::kStrReportFail);
    t.notAssessed = s(res::kStrReportNotAssessed);
    t.ok = "OK";
    t.high = s(res::kStrReportHigh);
    t.low = s(res::kStrReportLow);
    t.rule = s(res::kStrReportRule);
    t.ruleRelay = s(res::kStrReportRuleRelay);
    t.outside = s(res::kStrReportOutside);
    t.noBlock = s(res::kStrReportNoBlock);
    t.noLimit = s(res::kStrReportNoLimit);
    t.noLoad = s(res::kStrReportNoLoad);
    t.figures = s(res::kStrReportFigures);
    t.records = s(res::kStrReportRecords);
    t.signTechnician = s(res::kStrReportSignTechnician);
    t.signCustomer = s(res::kStrReportSignCustomer);
    t.mean = s(res::kStrReportMean);
    t.band = s(res::kStrReportBand);
    t.steady = s(res::kStrReportSteady);
    t.placeDate = s(res::kStrReportPlaceDate);
    return t;
}

std::string FillPlaceholders(std::string text, std::initializer_list<std::string> values) {
    // One pass, so a value that holds "%2" is not filled again.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < values.size()) {
                out += *(values.begin() + n);
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace tensiq::report

#pragma once
#include "ResourceModule.h"

#include <string>

namespace tensiq::report {

// The document's texts in one language: the report's strings, and the form's own captions
// for the fields it repeats, so the report names them as the window does.
struct ReportTexts {
    std::string title, reportId, date, site, lift, technician, remark;
    std::string device, port, firmware, program, period;
    std::string ropeCount, factor, tare, allowedDifference;
    std::string rope, found, deviation, target, left, state, summary;
    std::string pass, fail, notAssessed, ok, high, low;
    std::string rule, ruleRelay, outside, noBlock, noLimit, noLoad, figures;
    std::string records, signTechnician, signCustomer, mean, band, steady, placeDate;
    bool chinese = false;
};

ReportTexts LoadReportTexts(const res::ResourceModule* module);

// Fills %1, %2, ... in order.
std::string FillPlaceholders(std::string text, std::initializer_list<std::string> values);

} // namespace tensiq::report

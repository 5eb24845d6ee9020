#include "CommandJson.h"

namespace tensiq::cli {

namespace {

nlohmann::ordered_json TextOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

} // namespace

std::string JsonText(const nlohmann::ordered_json& value, int indent) {
    return value.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json PortJson(const PortInfo& port) {
    nlohmann::ordered_json holders = nlohmann::ordered_json::array();
    for (const PortHolder& h : port.holders)
        holders.push_back({{"pid", h.pid}, {"program", TextOrNull(h.program)}});
    return {{"com", port.number},
            {"path", port.path},
            {"byId", TextOrNull(port.byId)},
            {"maker", TextOrNull(port.maker)},
            {"model", TextOrNull(port.model)},
            {"serial", TextOrNull(port.serial)},
            {"usbId", TextOrNull(port.usbId)},
            {"mayOpen", port.mayOpen},
            {"held", port.held ? nlohmann::ordered_json(*port.held) : nlohmann::ordered_json()},
            {"heldBy", holders},
            {"lowLatency", port.lowLatency
                               ? nlohmann::ordered_json(LowLatencyText(*port.lowLatency))
                               : nlohmann::ordered_json()},
            {"openError", TextOrNull(port.openError)}};
}

nlohmann::ordered_json PortsJson(const std::vector<PortInfo>& ports) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const PortInfo& port : ports)
        list.push_back(PortJson(port));
    return {{"ports", list}};
}

nlohmann::ordered_json DoctorJson(const std::string& userName, const DoctorReport& report,
                                  const std::vector<PortInfo>& ports) {
    nlohmann::ordered_json findings = nlohmann::ordered_json::array();
    for (const Finding& f : report.findings)
        findings.push_back({{"check", f.check}, {"problem", f.problem}, {"fix", f.fix}});
    return {{"user", userName},
            {"ok", report.findings.empty()},
            {"checked", report.checked},
            {"findings", findings},
            {"ports", PortsJson(ports).at("ports")}};
}

nlohmann::ordered_json DiscoverJson(int port, const std::string& path,
                                    const std::string& identification, bool variant) {
    return {{"port", port > 0 ? nlohmann::ordered_json(port) : nlohmann::ordered_json()},
            {"device", path},
            {"identification", identification},
            {"ropeDifferenceVariant", variant}};
}

nlohmann::ordered_json VersionJson(const std::string& identification, double firmwareVersion) {
    return {{"identification", identification}, {"firmwareVersion", firmwareVersion}};
}

} // namespace tensiq::cli

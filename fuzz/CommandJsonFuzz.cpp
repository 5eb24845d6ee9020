// Any bytes in a name from sysfs or /proc or in a device's reply: every JSON printer gives
// JSON that reads back, keeps valid UTF-8 as it was, and the text output carries no control
// character.
#include "CommandJson.h"
#include "TerminalText.h"

#include <cstdlib>
#include <string_view>
#include <vector>

using namespace tensiq;

namespace {

bool IsUtf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

void CheckJson(const nlohmann::ordered_json& value, int indent) {
    if (nlohmann::ordered_json::parse(cli::JsonText(value, indent), nullptr, false).is_discarded())
        std::abort();
}

void CheckText(const std::string& field) {
    for (const char c : cli::PrintableText(field)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Fields are split at NUL bytes; missing ones are empty.
    std::vector<std::string> fields;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (fields.size() < 9) {
        const auto end = rest.find('\0');
        fields.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    cli::PortInfo port;
    port.number = static_cast<int>(size % 256);
    port.path = fields[0];
    port.byId = fields[1];
    port.maker = fields[2];
    port.model = fields[3];
    port.serial = fields[4];
    port.usbId = fields[5];
    port.openError = fields[6];
    port.holders.push_back({static_cast<int>(size), fields[7]});
    cli::DoctorReport report;
    report.checked.push_back(fields[8]);
    report.findings.push_back({fields[8], fields[0], fields[7]});

    CheckJson(cli::PortsJson({port}), 2);
    CheckJson(cli::DoctorJson(fields[8], report, {port}), 2);
    CheckJson(cli::DiscoverJson(port.number, fields[0], fields[1], size % 2 == 0), -1);
    CheckJson(cli::VersionJson(fields[1], 1.08), -1);
    for (const std::string& field : fields) {
        CheckText(field);
        // Valid UTF-8 is printed as it was.
        if (IsUtf8(field)) {
            const auto back = nlohmann::json::parse(cli::JsonText(field), nullptr, false);
            if (back.is_discarded() || back.get<std::string>() != field)
                std::abort();
        }
    }
    return 0;
}

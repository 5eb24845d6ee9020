#include "ParameterJson.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace tensiq::cli {

namespace {

struct Field {
    const char* key;
    const char* label;
    long min;
    long max;
    std::function<long(const ParameterBlock&)> get;
    std::function<void(ParameterBlock&, long)> set;
};

#define TQ_WORD(key, label, Name)                                                                  \
    Field {                                                                                        \
        key, label, -32768, 32767, [](const ParameterBlock& b) -> long { return b.Name(); },       \
            [](ParameterBlock& b, long v) { b.Set##Name(static_cast<std::int16_t>(v)); }           \
    }
#define TQ_BYTE(key, label, lo, hi, Name, Type)                                                    \
    Field {                                                                                        \
        key, label, lo, hi, [](const ParameterBlock& b) -> long { return b.Name(); },              \
            [](ParameterBlock& b, long v) { b.Set##Name(static_cast<Type>(v)); }                   \
    }

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        TQ_WORD("fullScaleLoad", "10 V at (kg)", FullScaleLoad),
        TQ_WORD("tare", "Tare (kg)", Tare),
        TQ_WORD("emptyLoadThreshold", "Empty-load relay (kg)", EmptyLoadThreshold),
        TQ_WORD("fullLoadThreshold", "Full-load relay (kg)", FullLoadThreshold),
        TQ_WORD("overloadThreshold", "Overload relay (kg)", OverloadThreshold),
        TQ_WORD("slackRopeThreshold", "Slack-rope relay (kg)", SlackRopeThreshold),
        TQ_WORD("ropeDifference", "Allowed rope difference (kg)", RopeDifference),
        TQ_BYTE("emptyLoadContact", "Empty-load contact", 0, 1, EmptyLoadContact, std::uint8_t),
        TQ_BYTE("fullLoadContact", "Full-load contact", 0, 1, FullLoadContact, std::uint8_t),
        TQ_BYTE("overloadContact", "Overload contact", 0, 1, OverloadContact, std::uint8_t),
        TQ_BYTE("slackRopeContact", "Slack-rope contact", 0, 1, SlackRopeContact, std::uint8_t),
        TQ_BYTE("ropeCount", "Rope count", 1, 12, RopeCount, std::uint8_t),
        TQ_BYTE("factor", "Factor", 1, 99, Factor, std::int8_t),
        TQ_BYTE("liveZeroTenths", "Live zero (0.1 V)", 0, 99, LiveZeroTenths, std::uint8_t),
        TQ_BYTE("applyToPayload", "Apply to payload", 0, 1, ApplyToPayload, std::uint8_t),
        TQ_BYTE("sensorType", "Sensor type", 0, 3, SensorType, std::uint8_t),
    };
    return fields;
}

#undef TQ_WORD
#undef TQ_BYTE

// Bytes as the device holds them: the reserved words go back to wire order.
std::string Hex(const ParameterBlock& block, std::size_t at, std::size_t count) {
    ParameterBlock wire = block;
    wire.SwapWords();
    std::string out;
    char two[3];
    for (std::size_t i = at; i < at + count; ++i) {
        std::snprintf(two, sizeof two, "%02X", wire.bytes[i]);
        out += two;
    }
    return out;
}

const char* ContactText(long v) {
    return v == 0 ? "break" : "make";
}

} // namespace

nlohmann::ordered_json BlockToJson(const ParameterBlock& block) {
    nlohmann::ordered_json out;
    for (const Field& f : Fields())
        out[f.key] = f.get(block);
    out["reserved"] = Hex(block, ParameterBlock::kReservedAt, ParameterBlock::kReservedSize);
    out["deviceData"] = Hex(block, ParameterBlock::kDeviceDataAt, ParameterBlock::kDeviceDataSize);
    out["checksum"] = block.Checksum();
    return out;
}

bool OverlayJson(const nlohmann::json& json, ParameterBlock& block, std::string& error) {
    if (!json.is_object()) {
        error = "the file must hold one JSON object";
        return false;
    }
    ParameterBlock result = block;
    for (const auto& [key, value] : json.items()) {
        if (key == "reserved" || key == "deviceData" || key == "checksum")
            continue; // the device's own bytes travel from the block read
        const Field* field = nullptr;
        for (const Field& f : Fields())
            if (key == f.key)
                field = &f;
        if (field == nullptr) {
            error = "unknown field \"" + key + "\"";
            return false;
        }
        if (!value.is_number_integer()) {
            error = "field \"" + key + "\" must be a whole number";
            return false;
        }
        // A number from 2^63 up would wrap into range as a long long; it is out of range.
        const bool tooLarge =
            value.is_number_unsigned() &&
            value.get<unsigned long long>() > static_cast<unsigned long long>(field->max);
        const auto v = tooLarge ? 0LL : value.get<long long>();
        if (tooLarge || v < field->min || v > field->max) {
            error = "field \"" + key + "\" is " + value.dump() + ", outside " +
                    std::to_string(field->min) + " to " + std::to_string(field->max);
            return false;
        }
        field->set(result, static_cast<long>(v));
    }
    block = result;
    return true;
}

std::string BlockToTable(const ParameterBlock& block) {
    std::string out;
    char line[160];
    for (const Field& f : Fields()) {
        const long v = f.get(block);
        const std::string key = f.key;
        if (key.find("Contact") != std::string::npos)
            std::snprintf(line, sizeof line, "%-30s %ld (%s)\n", f.label, v, ContactText(v));
        else if (key == "liveZeroTenths")
            std::snprintf(line, sizeof line, "%-30s %ld (%s%ld.%ld V)\n", f.label, v,
                          v == 0 ? "off, " : "", v / 10, v % 10);
        else if (key == "sensorType")
            std::snprintf(line, sizeof line, "%-30s %ld (Sensor %c)\n", f.label, v,
                          v >= 0 && v <= 3 ? static_cast<char>('A' + v) : '?');
        else
            std::snprintf(line, sizeof line, "%-30s %ld\n", f.label, v);
        out += line;
    }
    const auto json = BlockToJson(block);
    out += "Reserved bytes 20-24           " + json["reserved"].get<std::string>() + "\n";
    out += "Device bytes 28-126            " + json["deviceData"].get<std::string>() + "\n";
    std::snprintf(line, sizeof line, "%-30s 0x%02X\n", "Checksum", block.Checksum());
    out += line;
    return out;
}

} // namespace tensiq::cli

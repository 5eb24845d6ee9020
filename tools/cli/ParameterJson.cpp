#include "ParameterJson.h"

#include <cstdio>
#include <functional>
#include <limits>
#include <vector>

namespace tensiq::cli {

namespace {

struct Field {
    const char* key;
    const char* label;
    long min; // what the device accepts
    long max;
    long storedMin; // what the field can hold at all
    long storedMax;
    std::function<long(const ParameterBlock&)> get;
    std::function<void(ParameterBlock&, long)> set;
};

#define TQ_WORD(key, label, Name)                                                                  \
    Field {                                                                                        \
        key, label, -32768, 32767, -32768, 32767,                                                  \
            [](const ParameterBlock& b) -> long { return b.Name(); },                              \
            [](ParameterBlock& b, long v) { b.Set##Name(static_cast<std::int16_t>(v)); }           \
    }
#define TQ_BYTE(key, label, lo, hi, Name, Type)                                                    \
    Field {                                                                                        \
        key, label, lo, hi, std::numeric_limits<Type>::min(), std::numeric_limits<Type>::max(),    \
            [](const ParameterBlock& b) -> long { return b.Name(); },                              \
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

namespace {

const Field* FindField(const std::string& key) {
    for (const Field& f : Fields())
        if (key == f.key)
            return &f;
    return nullptr;
}

bool IsDevicesOwn(const std::string& key) {
    return key == "reserved" || key == "deviceData" || key == "checksum";
}

std::string Outside(const std::string& key, const std::string& value, long min, long max) {
    return "field \"" + key + "\" is " + value + ", outside " + std::to_string(min) + " to " +
           std::to_string(max);
}

// The value of a field in the file as the number it is: from 2^63 up it is unsigned in the
// JSON and must not wrap into a signed range.
bool FieldValue(const std::string& key, const nlohmann::json& value, const Field& field, long& out,
                std::string& error) {
    if (value.is_number_unsigned()) {
        const auto v = value.get<std::uint64_t>();
        if (v > static_cast<std::uint64_t>(field.storedMax)) {
            error = Outside(key, std::to_string(v), field.storedMin, field.storedMax);
            return false;
        }
        out = static_cast<long>(v);
        return true;
    }
    if (!value.is_number_integer()) {
        error = "field \"" + key + "\" must be a whole number";
        return false;
    }
    const auto v = value.get<std::int64_t>();
    if (v < field.storedMin || v > field.storedMax) {
        error = Outside(key, std::to_string(v), field.storedMin, field.storedMax);
        return false;
    }
    out = static_cast<long>(v);
    return true;
}

} // namespace

bool CheckJson(const nlohmann::json& json, std::string& error) {
    if (!json.is_object()) {
        error = "the file must hold one JSON object";
        return false;
    }
    for (const auto& [key, value] : json.items()) {
        if (IsDevicesOwn(key))
            continue;
        const Field* field = FindField(key);
        if (field == nullptr) {
            error = "unknown field \"" + key + "\"";
            return false;
        }
        long v = 0;
        if (!FieldValue(key, value, *field, v, error))
            return false;
    }
    return true;
}

bool OverlayJson(const nlohmann::json& json, ParameterBlock& block, std::string& error) {
    if (!CheckJson(json, error))
        return false;
    ParameterBlock result = block;
    for (const auto& [key, value] : json.items()) {
        if (IsDevicesOwn(key))
            continue; // the device's own bytes travel from the block read
        const Field& field = *FindField(key);
        long v = 0;
        FieldValue(key, value, field, v, error);
        // A value the device already holds is no change, so a backup of any device restores.
        if (v != field.get(block) && (v < field.min || v > field.max)) {
            error = Outside(key, std::to_string(v), field.min, field.max);
            return false;
        }
        field.set(result, v);
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

#include "FormMapping.h"

#include "WeightUnit.h"

#include <charconv>
#include <cmath>

namespace tensiq {

namespace {

std::uint8_t LowByte(long long value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// Exchange order of the weights, by index in kWeightControls.
constexpr std::array<std::size_t, kWeightCount> kWeightExchangeOrder = {0, 4, 5, 2, 3, 1, 6};

} // namespace

std::optional<bool> DecodeBlock(const ParameterBlock& block, float firmwareVersion,
                                FormValues& values, ShownWeights& shown) {
    const std::array<std::int16_t, kWeightCount> kilograms = {block.EmptyLoadThreshold(),
                                                              block.FullLoadThreshold(),
                                                              block.OverloadThreshold(),
                                                              block.SlackRopeThreshold(),
                                                              block.Tare(),
                                                              block.RopeDifference(),
                                                              block.FullScaleLoad()};
    const auto weights = values.Weights();
    for (std::size_t i = 0; i < kWeightCount; ++i) {
        *weights[i] = FromKilograms(kilograms[i], values.unit);
        shown.SetKilograms(i, kilograms[i]);
    }
    values.emptyLoadContact = block.EmptyLoadContact();
    values.fullLoadContact = block.FullLoadContact();
    values.overloadContact = block.OverloadContact();
    values.slackRopeContact = block.SlackRopeContact();
    values.ropeCount = block.RopeCount();
    values.factor = static_cast<unsigned>(static_cast<int>(block.Factor()));
    values.sensorType = block.SensorType();
    if (!(firmwareVersion >= kLiveZeroFirmware))
        return std::nullopt;
    values.applyToPayload = block.ApplyToPayload();
    values.liveZeroVolts = static_cast<float>(block.LiveZeroTenths() * 0.1);
    return block.LiveZeroTenths() != 0;
}

EncodeResult EncodeBlock(const FormValues& values, const ShownWeights& shown,
                         const ParameterBlock& stored) {
    EncodeResult result;
    result.block = stored;
    const auto entered = values.WeightValues();
    std::array<std::int16_t, kWeightCount> stores{};
    for (const std::size_t i : kWeightExchangeOrder) {
        if (const auto exact = shown.Kilograms(i)) {
            result.kilograms[i] = *exact;
            stores[i] = *exact;
            continue;
        }
        const double kilograms = ToKilograms(entered[i], values.unit);
        result.kilograms[i] = kilograms;
        const double whole = std::trunc(kilograms);
        if (!(whole >= kWeightMinKg && whole <= kWeightMaxKg)) {
            if (!result.failure)
                result.failure =
                    WeightRangeFailure{kWeightControls[i], FromKilograms(kWeightMinKg, values.unit),
                                       FromKilograms(kWeightMaxKg, values.unit)};
            continue;
        }
        stores[i] = static_cast<std::int16_t>(whole);
    }
    if (result.failure)
        return result;

    ParameterBlock& b = result.block;
    b.SetEmptyLoadThreshold(stores[0]);
    b.SetFullLoadThreshold(stores[1]);
    b.SetOverloadThreshold(stores[2]);
    b.SetSlackRopeThreshold(stores[3]);
    b.SetTare(stores[4]);
    b.SetRopeDifference(stores[5]);
    b.SetFullScaleLoad(stores[6]);
    b.SetEmptyLoadContact(LowByte(values.emptyLoadContact));
    b.SetFullLoadContact(LowByte(values.fullLoadContact));
    b.SetOverloadContact(LowByte(values.overloadContact));
    b.SetSlackRopeContact(LowByte(values.slackRopeContact));
    b.SetRopeCount(LowByte(values.ropeCount));
    b.bytes[19] = LowByte(values.factor);
    b.SetLiveZeroTenths(LiveZeroTenths(values.liveZeroVolts));
    b.SetApplyToPayload(LowByte(values.applyToPayload));
    b.SetSensorType(LowByte(values.sensorType));
    return result;
}

std::uint8_t LiveZeroTenths(float volts) {
    if (!(volts > 0.0f))
        return 0;
    if (volts >= 25.6f)
        return 255;
    // From the shortest decimal that reads back as this float, i.e. the voltage as entered:
    // 0.7 is held as 0.69999999 and must still give 7.
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, volts, std::chars_format::fixed).ptr;
    int tenths = 0;
    const char* p = text;
    for (; p != end && *p != '.'; ++p)
        tenths = tenths * 10 + (*p - '0');
    tenths *= 10;
    if (p != end && p + 1 != end)
        tenths += p[1] - '0';
    return static_cast<std::uint8_t>(tenths > 255 ? 255 : tenths);
}

void ConvertWeights(FormValues& values, int oldUnit, int newUnit) {
    for (double* weight : values.Weights()) {
        if (IsKnownUnit(oldUnit) && oldUnit != Kilogram)
            *weight = ToKilograms(*weight, oldUnit);
        if (IsKnownUnit(newUnit) && newUnit != Kilogram)
            *weight = FromKilograms(*weight, newUnit);
    }
}

} // namespace tensiq

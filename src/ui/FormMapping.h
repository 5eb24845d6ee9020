#pragma once
// Between the device's parameter block and the form's values.

#include "FormValues.h"
#include "ParameterBlock.h"
#include "ShownWeights.h"

#include <cstdint>
#include <optional>

namespace tensiq {

// Firmware from which the device keeps the live-zero voltage and the payload option.
inline constexpr float kLiveZeroFirmware = 1.08f;

// A weight is a signed 16-bit number of kilograms in the block.
inline constexpr int kWeightMinKg = -32768, kWeightMaxKg = 32767;

// Puts the block into the values, weights in values.unit; remembers each weight's kilograms.
// The live-zero voltage and the payload option only from kLiveZeroFirmware on; the result then
// says whether the live-zero box is to be checked, else it is empty and the box stays as it is.
std::optional<bool> DecodeBlock(const ParameterBlock& block, float firmwareVersion,
                                FormValues& values, ShownWeights& shown);

// A weight whose kilograms do not fit the block, with the allowed range in the displayed unit.
struct WeightRangeFailure {
    int control;
    double lowest;
    double highest;
};

struct EncodeResult {
    ParameterBlock block;
    // The seven weights in kilograms as stored, in the order of kWeightControls.
    std::array<double, kWeightCount> kilograms{};
    std::optional<WeightRangeFailure> failure;
};

// Builds the block from the values on top of stored, which gives bytes 20-24 and 28-127. A weight
// whose field still shows what it was shown from writes those exact kilograms; any other is
// converted and truncated toward zero. The first weight, in exchange order, outside the block's
// range fails the whole encoding.
EncodeResult EncodeBlock(const FormValues& values, const ShownWeights& shown,
                         const ParameterBlock& stored);

// The whole number of tenths in a voltage as entered, further digits dropped (0.75 V gives 7).
// Meant for the form's range 0 to 9.9 V; below 0 gives 0, beyond a byte 255.
std::uint8_t LiveZeroTenths(float volts);

// Steps of a unit change: each weight to kilograms from the old unit, then to the new one, as two
// separate multiplications.
void ConvertWeights(FormValues& values, int oldUnit, int newUnit);

} // namespace tensiq

#pragma once
// The parameter form's values, as the window exchanges them with its controls.

#include <array>
#include <cstddef>

namespace tensiq {

// Controls of the form.
namespace form_ids {
inline constexpr int kEmptyLoadThreshold = 1005;
inline constexpr int kTare = 1003;
inline constexpr int kRopeDifference = 1014;
inline constexpr int kRopeCount = 1018;
inline constexpr int kOverloadThreshold = 1010;
inline constexpr int kSlackRopeThreshold = 1012;
inline constexpr int kFullLoadThreshold = 1008;
inline constexpr int kEmptyLoadContact = 1019; // first radio of each group
inline constexpr int kOverloadContact = 1023;
inline constexpr int kSlackRopeContact = 1025;
inline constexpr int kFullLoadContact = 1021;
inline constexpr int kFactor = 1043;
inline constexpr int kUnit = 1051;
inline constexpr int kFullScaleLoad = 1016;
inline constexpr int kLiveZeroVolts = 1067;
inline constexpr int kApplyToPayload = 1062;
inline constexpr int kSensorType = 1063;
inline constexpr int kLiveZeroCheck = 1061;
} // namespace form_ids

// Checks of the form's fields.
inline constexpr unsigned kRopeCountMin = 1, kRopeCountMax = 12;
inline constexpr unsigned kFactorMin = 1, kFactorMax = 99;
inline constexpr float kLiveZeroMin = 0.0f, kLiveZeroMax = 9.9f;

// The seven weights, in the order a unit change converts them.
inline constexpr std::size_t kWeightCount = 7;
inline constexpr std::array<int, kWeightCount> kWeightControls = {form_ids::kEmptyLoadThreshold,
                                                                  form_ids::kFullLoadThreshold,
                                                                  form_ids::kOverloadThreshold,
                                                                  form_ids::kSlackRopeThreshold,
                                                                  form_ids::kTare,
                                                                  form_ids::kRopeDifference,
                                                                  form_ids::kFullScaleLoad};
// Index of a weight control in kWeightControls, or -1.
int WeightIndex(int control);

// Weights are in the displayed unit; a radio group with no button checked is -1.
struct FormValues {
    double emptyLoadThreshold = 0.0;
    double tare = 0.0;
    double ropeDifference = 0.0;
    unsigned ropeCount = 12;
    double overloadThreshold = 0.0;
    double slackRopeThreshold = 0.0;
    double fullLoadThreshold = 0.0;
    int emptyLoadContact = -1;
    int overloadContact = -1;
    int slackRopeContact = -1;
    int fullLoadContact = -1;
    unsigned factor = 1;
    int unit = 0;
    double fullScaleLoad = 0.0;
    float liveZeroVolts = 0.0f;
    int applyToPayload = 0;
    int sensorType = 0;

    // The weights in the order of kWeightControls.
    std::array<double*, kWeightCount> Weights() {
        return {
            &emptyLoadThreshold, &fullLoadThreshold, &overloadThreshold, &slackRopeThreshold, &tare,
            &ropeDifference,     &fullScaleLoad};
    }
    std::array<double, kWeightCount> WeightValues() const {
        return {emptyLoadThreshold, fullLoadThreshold, overloadThreshold, slackRopeThreshold, tare,
                ropeDifference,     fullScaleLoad};
    }
};

} // namespace tensiq

#pragma once
#include "AcquisitionSink.h"
#include "LiveFrame.h"

#include <string>

namespace tensiq {

// What the display needs to know of the user's choices, read once per frame.
struct DisplaySettings {
    double unitFactor = 1.0; // kilograms to the display unit
    std::int8_t factor = 1;  // the parameter block's reading multiplier
    std::string unitText = "kg";
};

// Loads, display values, marks and total of one valid frame; the frame count and the chart
// sample are left to the caller. The total's text is left empty.
FrameUpdate ComputeReadings(const LiveFrame& frame, const DisplaySettings& settings);
// The same with the total's text, e.g. "Gesamt: 3600 kg".
FrameUpdate ComputeReadings(const LiveFrame& frame, const DisplaySettings& settings,
                            const std::string& totalCaption);

// Load times display factor, truncated toward zero.
int DisplayValue(int load, double unitFactor);

} // namespace tensiq

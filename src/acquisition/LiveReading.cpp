#include "LiveReading.h"

#include <cstdio>

namespace tensiq {

int DisplayValue(int load, double unitFactor) {
    return static_cast<int>(load * unitFactor);
}

FrameUpdate ComputeReadings(const LiveFrame& frame, const DisplaySettings& settings) {
    FrameUpdate u;
    for (int k = 0; k < kRopes; ++k) {
        u.loads[k] = frame.Reading(k) * settings.factor;
        u.marked[k] = frame.Marked(k);
        u.totalKg += u.loads[k];
    }
    // In kilograms, the usual unit, a value is its load: no round trip through double per rope.
    if (settings.unitFactor == 1.0) {
        u.displayValues = u.loads;
        u.totalDisplay = u.totalKg;
    } else {
        for (int k = 0; k < kRopes; ++k)
            u.displayValues[k] = DisplayValue(u.loads[k], settings.unitFactor);
        u.totalDisplay = DisplayValue(u.totalKg, settings.unitFactor);
    }
    u.tag = frame.Tag();
    return u;
}

FrameUpdate ComputeReadings(const LiveFrame& frame, const DisplaySettings& settings,
                            const std::string& totalCaption) {
    FrameUpdate u = ComputeReadings(frame, settings);
    u.totalText = totalCaption + ": " + std::to_string(u.totalDisplay) + " " + settings.unitText;
    return u;
}

} // namespace tensiq

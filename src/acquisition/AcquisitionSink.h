#pragma once
#include "LiveFrame.h"

#include <array>
#include <cstdint>
#include <string>

namespace tensiq {

// How a bar's background has to change for its rope's marking; None most of the time, so a
// rope marked in frame after frame repaints once.
enum class MarkChange : std::uint8_t { None, ToGrey, ToWhite };

// What one valid frame changes on the screen, in the order it is to be applied:
// bars, chart sample, marks, total.
struct FrameUpdate {
    std::array<int, kRopes> loads{};         // kilograms, as recorded
    std::array<int, kRopes> displayValues{}; // bar positions and chart values, display unit
    std::array<bool, kRopes> marked{};
    std::array<MarkChange, kRopes> markChanges{};
    bool chartSampleDue = false;
    int totalKg = 0;
    int totalDisplay = 0;
    std::string totalText; // e.g. "Gesamt: 3600 kg"
    long frameNumber = 0;  // valid frames since the thread started
    std::uint16_t tag = 0; // bytes 1 and 38 of the frame, for benchmarks
};

// Receives the acquisition thread's results. Called on the acquisition thread: a window's sink
// hands them on to the GUI thread and never touches a widget here.
class AcquisitionSink {
public:
    virtual ~AcquisitionSink() = default;
    virtual void OnFrame(const FrameUpdate& update) = 0;
    // The stream gave no frame start; the run has been ended.
    virtual void OnSynchronisationFailed(const std::string& message) = 0;
};

} // namespace tensiq

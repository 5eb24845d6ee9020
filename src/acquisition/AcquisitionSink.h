#pragma once
#include "LiveFrame.h"
#include "RecordFailure.h"

#include <array>
#include <cstdint>
#include <string>

namespace tensiq {

// What one valid frame changes on the screen, in the order it is to be applied:
// bars, chart sample, marks, total.
struct FrameUpdate {
    std::array<int, kRopes> loads{};         // kilograms, as recorded
    std::array<int, kRopes> displayValues{}; // bar positions and chart values, display unit
    // The ropes the device marks in this frame. Whoever paints the bars compares them with the
    // bar's own background (MarkedBackground), since the assistant changes it too.
    std::array<bool, kRopes> marked{};
    bool chartSampleDue = false;
    int totalKg = 0;
    int totalDisplay = 0;
    std::string totalText; // e.g. "Gesamt: 3600 kg"
    long frameNumber = 0;  // valid frames since the thread started
    std::uint16_t tag = 0; // bytes 1 and 38 of the frame, for benchmarks
};

// Receives the acquisition thread's results, on the acquisition thread and never while it
// holds the link: a sink may wait for the GUI thread, even while that thread is in StopRun.
// A window's sink hands everything on to the GUI thread and never touches a widget here.
// The three failures end the run: when one is called, the run flag is already cleared and
// the record closed, so the record may be saved at once.
class AcquisitionSink {
public:
    virtual ~AcquisitionSink() = default;
    // Every valid frame, in stream order; its record line is written before.
    virtual void OnFrame(const FrameUpdate& update) = 0;
    // False for a sink that never shows the total's text: the update's totalText stays empty.
    virtual bool ShowsTotalText() const { return true; }
    // The stream gave no frame start (string 102 in the current language).
    virtual void OnSynchronisationFailed(const std::string& message) = 0;
    // The port hung up: the adapter was unplugged or the line went dead (string 112).
    virtual void OnConnectionLost(const std::string& message) = 0;
    // The record could not be created, written, flushed or closed: the file, the reason and how
    // many frames the record keeps (whole lines only).
    virtual void OnRecordFailed(const RecordFailure& failure) = 0;
};

} // namespace tensiq

#pragma once
// The device both halves of the soak run against, and the check of a record taken from it:
// every line a valid frame, in order, with no valid frame missing except where a fault made the
// stream restart.
#include "DeviceModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tensiq::soak {

inline constexpr double kLineFrames = 230400.0 / 10 / 40;
// Multiples of 150, so two faulty frames are never a few frames apart: a faulty frame still on
// the line while the stream restarts leaves no 0x0D in the first 41 bytes, and the
// synchronisation then fails as it must.
inline constexpr int kBadMarkerEvery = 300;
inline constexpr int kBadTerminatorEvery = 450;
inline constexpr int kDropByteEvery = 750;
inline constexpr int kHangUpAfterFrames = 2500; // about 4.3 s into a run
// The frames still on the line when it went dead are lost with it.
inline constexpr int kLostAtHangUp = 4;
// A restart after a faulty frame ends with a 100 ms pause after the stream command, in which the
// program does not read; a hang-up then discards what came meanwhile: 58 frames at the line
// limit, and the one or two sent before the device heard the quiet command.
inline constexpr int kRestartFrames = 2 + 58 + kLostAtHangUp;
inline constexpr std::array<std::int16_t, 12> kReadings = {486, 478, 493, 502, 510, 497,
                                                           540, 536, 548, 505, 0,   0};

bool Faulted(long frame);
// How many of the frames 1 to last carry a fault.
long FaultedUpTo(long last);
sim::DeviceConfig SoakDevice(bool faults, int hangUpAfter);

struct RecordCheck {
    long lines = 0, corrupted = 0, outOfOrder = 0, gaps = 0, unexplainedGaps = 0;
    long missing = 0; // frames left out by the gaps
    long first = -1, last = -1;
    bool header = false;
    std::vector<std::pair<long, long>> unexplained; // the first few gaps with no fault in them

    // Lines from valid frames only, in order, every gap at a fault.
    bool Sound() const;
    // A run the line ended after hangUp frames: every frame up to it but the last few still on
    // the line, or, when the line went dead while the stream restarted after a fault, all up to
    // that fault.
    bool CompleteToHangUp(long hangUp, bool faults) const;
};

// Every line: ten steady loads, then a frame number; numbers rise, and a gap holds a fault.
RecordCheck CheckRecord(const std::string& path, bool faults);

// The record's lines, gaps and what was wrong, indented under a heading.
void PrintRecordCheck(const RecordCheck& r);

} // namespace tensiq::soak

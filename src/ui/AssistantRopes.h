#pragma once
#include "LiveFrame.h"

namespace tensiq {

// With one rope there is nothing to equalise and no rope to go on to.
inline constexpr int kAssistantMinRopes = 2;

// The ropes the assistant works with for a rope count from the device: at most the twelve
// bars, never negative.
int AssistantRopeCount(int ropeCount);

// The rope adjusted first: rope 1, or rope 2 when rope 1 is the reference.
inline int FirstAssistantRope(int referenceRope) {
    return referenceRope != 0 ? 0 : 1;
}

// The rope after current, cyclic, never the reference; -1 when there is none (fewer than two
// ropes). Any current value is accepted, -1 included.
int NextAssistantRope(int currentRope, int referenceRope, int ropeCount);

} // namespace tensiq

#pragma once
#include "LiveFrame.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tensiq {

using BarPositions = std::array<int, kRopes>;
using AssistantTargetArray = std::array<std::int32_t, kRopes>;

// The rope-tension assistant's plan, in bar units, from the positions the bars show: the rope
// nearest the mean is the reference (the lower index on ties, rope 1 when no rope is nearer
// than the mean itself), and every other rope gets the load it must reach so that all ropes
// end equal while the total stays the same. Entries at and above ropeCount keep their values.
// Empty, with nothing changed, for fewer than two ropes; more than twelve count as twelve.
std::optional<int> ComputeAssistantTargets(const BarPositions& positions, int ropeCount,
                                           AssistantTargetArray& targets);

} // namespace tensiq

#include "AssistantRopes.h"

#include <algorithm>

namespace tensiq {

int AssistantRopeCount(int ropeCount) {
    return std::clamp(ropeCount, 0, kRopes);
}

int NextAssistantRope(int currentRope, int referenceRope, int ropeCount) {
    const int n = AssistantRopeCount(ropeCount);
    if (n < kAssistantMinRopes)
        return -1;
    int rope = currentRope;
    // n steps visit every rope once, so the reference cannot hold the search.
    for (int step = 0; step < n; ++step) {
        rope = (rope >= -1 && rope < n - 1) ? rope + 1 : 0;
        if (rope != referenceRope)
            return rope;
    }
    return -1;
}

} // namespace tensiq

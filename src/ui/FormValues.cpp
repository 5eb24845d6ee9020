#include "FormValues.h"

namespace tensiq {

int WeightIndex(int control) {
    for (std::size_t i = 0; i < kWeightControls.size(); ++i)
        if (kWeightControls[i] == control)
            return static_cast<int>(i);
    return -1;
}

} // namespace tensiq

#include "ParameterBlock.h"

#include <utility>

namespace tensiq {

void SwapBytes(std::uint8_t* word) {
    std::swap(word[0], word[1]);
}

void ParameterBlock::SwapWords() {
    for (const std::size_t at : kWordOffsets)
        SwapBytes(&bytes[at]);
}

std::uint8_t ParameterBlock::ComputeChecksum() const {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kChecksumAt; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

} // namespace tensiq

#pragma once
// What each weight field last showed and the exact kilograms it was shown from. A weight shown in
// another unit carries 15 digits and the way back truncates, so writing an untouched field from
// its text could lose a kilogram; a field the user leaves alone writes its kilograms instead.

#include "FormValues.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tensiq {

class ShownWeights {
public:
    // Indices are those of kWeightControls.
    void SetKilograms(std::size_t index, std::int16_t kilograms) { m_kilograms[index] = kilograms; }
    // The field now shows text.
    void Printed(std::size_t index, std::string text) { m_text[index] = std::move(text); }
    // The field was read and held text: anything but what it was shown forgets the kilograms.
    void Read(std::size_t index, std::string_view text) {
        if (text != m_text[index])
            m_kilograms[index].reset();
    }
    std::optional<std::int16_t> Kilograms(std::size_t index) const { return m_kilograms[index]; }

private:
    std::array<std::string, kWeightCount> m_text;
    std::array<std::optional<std::int16_t>, kWeightCount> m_kilograms;
};

} // namespace tensiq

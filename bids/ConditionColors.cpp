#include "bids/ConditionColors.h"

#include <array>

namespace bids {

std::int32_t conditionColor(std::size_t index) {
    // Twelve colours that tell apart on the workstation's black background.
    static constexpr std::array<std::int32_t, 12> kPalette = {
        0xFF0000, 0x00C800, 0x3C64FF, 0xFFC800, 0xC800C8, 0x00C8C8,
        0xFF8000, 0x80FF80, 0xA0A0FF, 0xFF80C0, 0xC0A060, 0xFFFFA0,
    };
    return kPalette[index % kPalette.size()];
}

}  // namespace bids

#include "designmatrix/ColourComponents.h"

#include "text/FormattedText.h"

namespace designmatrix {

int hexPairValue(std::string_view hexText, int which) {
    if (which < 1 || which > 3) {
        return 0;
    }
    const auto digit = [&](std::size_t index) {
        if (index >= hexText.size()) {
            return 0;
        }
        const char c = hexText[index];
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return 0;
    };
    const auto first = static_cast<std::size_t>(2 * (which - 1));
    return 16 * digit(first) + digit(first + 1);
}

std::string colorComponents(std::int32_t color) {
    const std::string hex = text::formatText("%06X", static_cast<unsigned>(color));
    return text::formatText("Red: %d Green: %d Blue: %d", hexPairValue(hex, 1),
                            hexPairValue(hex, 2), hexPairValue(hex, 3));
}

}  // namespace designmatrix

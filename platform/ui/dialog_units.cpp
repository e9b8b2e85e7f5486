// SPDX-License-Identifier: MIT
#include "platform/ui/dialog_units.h"

#include <cstdint>

namespace ui {

int AverageCharWidth(int widthOfAlphabets) {
    return MulDiv(widthOfAlphabets, 1, 52);
}

int MulDiv(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

int DialogUnitsToPixelsX(int units, BaseUnits base) {
    return MulDiv(units, base.x, 4);
}

int DialogUnitsToPixelsY(int units, BaseUnits base) {
    return MulDiv(units, base.y, 8);
}

PixelRect DialogRectToPixels(int x, int y, int width, int height, BaseUnits base) {
    return {DialogUnitsToPixelsX(x, base), DialogUnitsToPixelsY(y, base),
            DialogUnitsToPixelsX(width, base), DialogUnitsToPixelsY(height, base)};
}

}  // namespace ui

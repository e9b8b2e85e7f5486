// SPDX-License-Identifier: MIT
// Dialog units: layout coordinates that scale with the dialog font.
#pragma once

namespace ui {

// The dialog font's average character width and its height, in pixels.
struct BaseUnits {
    int x;
    int y;
};

struct PixelRect {
    int x;
    int y;
    int width;
    int height;

    bool operator==(const PixelRect&) const = default;
};

// The average character width as dialog managers measure it: the width of "A".."Z" followed
// by "a".."z", divided by 52 and rounded.
int AverageCharWidth(int widthOfAlphabets);

// `value` * `numerator` / `denominator`, rounded half away from zero; denominator > 0.
int MulDiv(int value, int numerator, int denominator);

// A horizontal distance: a quarter of the average character width per unit.
int DialogUnitsToPixelsX(int units, BaseUnits base);

// A vertical distance: an eighth of the font height per unit.
int DialogUnitsToPixelsY(int units, BaseUnits base);

// Position and size converted one by one, so equal sizes stay equal wherever they sit.
PixelRect DialogRectToPixels(int x, int y, int width, int height, BaseUnits base);

}  // namespace ui

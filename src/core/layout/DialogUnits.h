#pragma once

namespace tarwick {

// The form and dialog templates are laid out in dialog units: a horizontal unit is a quarter of
// the template font's average character width, a vertical unit an eighth of its height.
struct DialogBaseUnits {
    int averageCharWidth = 0;
    int charHeight = 0;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Average width the way the template engine measures it: the width of the 52 letters A-Z a-z,
// divided by 26, then halved with rounding.
DialogBaseUnits baseUnitsFromFont(int widthOfAllLetters, int fontHeight);

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDivRounded(int a, int b, int c);

int dialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int dialogUnitsToPixelsY(int units, const DialogBaseUnits& base);
PixelRect dialogRectToPixels(int x, int y, int width, int height, const DialogBaseUnits& base);

} // namespace tarwick

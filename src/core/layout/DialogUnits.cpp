#include "core/layout/DialogUnits.h"

#include <cstdint>
#include <cstdlib>

namespace tarwick {

DialogBaseUnits baseUnitsFromFont(int widthOfAllLetters, int fontHeight) {
    return {(widthOfAllLetters / 26 + 1) / 2, fontHeight};
}

int mulDivRounded(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int dialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
    return mulDivRounded(units, base.averageCharWidth, 4);
}

int dialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
    return mulDivRounded(units, base.charHeight, 8);
}

PixelRect dialogRectToPixels(int x, int y, int width, int height, const DialogBaseUnits& base) {
    const int left = dialogUnitsToPixelsX(x, base);
    const int top = dialogUnitsToPixelsY(y, base);
    return {left, top, dialogUnitsToPixelsX(x + width, base) - left,
            dialogUnitsToPixelsY(y + height, base) - top};
}

} // namespace tarwick

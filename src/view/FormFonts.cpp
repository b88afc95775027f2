#include "view/FormFonts.h"

#include <QFontMetrics>
#include <QStringList>

namespace tarwick {

namespace {

// The Windows face first, then faces with its metrics that a Linux desktop has.
QFont fontFamily(const QString& windowsName) {
    QFont font;
    font.setFamilies({windowsName, QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

QFont formFont() {
    QFont font = fontFamily(QStringLiteral("Microsoft Sans Serif"));
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

QFont fontWithCellHeight(const QString& family, int cellHeight, QFont::Weight weight) {
    QFont font = fontFamily(family);
    font.setWeight(weight);
    int pixelSize = cellHeight;
    for (; pixelSize > 6; --pixelSize) {
        font.setPixelSize(pixelSize);
        if (QFontMetrics(font).height() <= cellHeight) {
            break;
        }
    }
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace tarwick

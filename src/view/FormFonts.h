#pragma once

#include <QFont>

namespace tarwick {

// The template's fonts carry Windows names; where those faces are missing, Liberation Sans (Arial's
// metrics) stands in.

// The template font of the form and the About box: 12 points.
QFont formFont();

// A font whose line height (ascent + descent) is at most cellHeight pixels, the way Windows
// sizes a font asked for by a positive height.
QFont fontWithCellHeight(const QString& family, int cellHeight, QFont::Weight weight);

} // namespace tarwick

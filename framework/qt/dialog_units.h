// Dialog units to pixels by the dialog-font rule: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its character height.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "framework/dialog_template.h"
#include "framework/qt/point_font.h"

namespace zembra {

struct DialogBaseUnits {
    int x;  // average character width in pixels
    int y;  // character height (ascent + descent) in pixels
};

// Measured as the platform measures its dialog font: the width of "A".."Z""a".."z" over 26,
// halved with rounding, and the font's ascent plus descent. A stand-in face counts with the
// height of the face it replaces (FontFaces::AskedFaceCharacterHeight), so the layout keeps the
// proportions it has with the real face.
DialogBaseUnits MeasureBaseUnits(const QFont& dialogFont, const FontFaces& faces);

QRect ToPixels(const DialogRect& rect, DialogBaseUnits units);
QSize ToPixels(int width, int height, DialogBaseUnits units);

}  // namespace zembra

#include "framework/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace zembra {
namespace {

// value × numerator / denominator, rounded to the nearest integer, halves away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

int UnitsX(int units, DialogBaseUnits base) { return MulDiv(units, base.x, 4); }
int UnitsY(int units, DialogBaseUnits base) { return MulDiv(units, base.y, 8); }

}  // namespace

DialogBaseUnits MeasureBaseUnits(const QFont& dialogFont, const FontFaces& faces) {
    const QFontMetrics metrics(dialogFont);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int height = faces.AskedFaceCharacterHeight(dialogFont).value_or(metrics.ascent() + metrics.descent());
    return {(alphabet / 26 + 1) / 2, height};
}

QRect ToPixels(const DialogRect& rect, DialogBaseUnits units) {
    return {UnitsX(rect.x, units), UnitsY(rect.y, units), UnitsX(rect.width, units), UnitsY(rect.height, units)};
}

QSize ToPixels(int width, int height, DialogBaseUnits units) { return {UnitsX(width, units), UnitsY(height, units)}; }

}  // namespace zembra

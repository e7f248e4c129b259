// Fonts as the template names them: a face and a size in tenths of a point.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

namespace zembra {

// The families to ask for a face, best first: the face by its given name and by its Latin name,
// where the machine has it, then the Debian font that stands in for it (AR PL UMing for the Song
// face, WenQuanYi Micro Hei for the dialog face).
QStringList FamiliesForFace(const QString& face);

// A plain, unhinted font of normal weight whose character height (em size) in pixels is
// dpiY × tenths / 720, rounded down as the platform's point-font rule does: 24 px for 18 points
// and 16 px for 12 points at 96 dpi.
QFont MakePointFont(int tenthsOfPoint, const QString& face, int dpiY);

// When `font` is drawn by a stand-in rather than the face it asks for, the character height
// (ascent + descent, in pixels) that the asked face has at the font's size, for the faces whose
// metrics are known; nothing when the asked face itself is used or its metrics are unknown.
// The stand-ins draw the same glyph size but have shorter lines than the faces they replace
// (WenQuanYi Micro Hei 14 px at 9 points where the dialog face has 16), and the dialog's
// proportions and artwork were made for the asked face.
std::optional<int> AskedFaceCharacterHeight(const QFont& font);

}  // namespace zembra

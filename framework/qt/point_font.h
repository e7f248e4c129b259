// Fonts as the template names them: a face and a size in tenths of a point.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace zembra {

// A face that a template or a dialog asks for by name, the font that stands in for it where the
// machine lacks it, and the asked face's line metrics (its ascent and descent as the platform
// measures a font's height, in em), so that a layout made for the face keeps its proportions.
struct FaceStandIn {
    const char* name;       // UTF-8, as the template gives it
    const char* latinName;  // the same face's other family name
    const char* standIn;    // the family used where the face is missing
    double ascent;
    double descent;
};

// The faces the application knows stand-ins for; any other face is asked for as it is named.
class FontFaces {
public:
    explicit FontFaces(std::span<const FaceStandIn> faces = {}) : m_faces(faces) {}

    // The families to ask for a face, best first: the face by its given name and by its Latin
    // name, where the machine has it, then its stand-in.
    QStringList FamiliesFor(const QString& face) const;

    // A plain, unhinted font of normal weight whose character height (em size) in pixels is
    // dpiY × tenths / 720, rounded down as the platform's point-font rule does: 24 px for 18
    // points and 16 px for 12 points at 96 dpi.
    QFont MakePointFont(int tenthsOfPoint, const QString& face, int dpiY) const;

    // When `font` is drawn by a stand-in rather than the face it asks for, the character height
    // (ascent + descent, in pixels) that the asked face has at the font's size; nothing when the
    // asked face itself is used or its metrics are unknown. Stand-ins tend to draw the same glyph
    // size with shorter lines than the faces they replace, and the dialog's proportions and
    // artwork were made for the asked face.
    std::optional<int> AskedFaceCharacterHeight(const QFont& font) const;

private:
    // The face a family name asks for; with `matchStandIn`, also the face a stand-in replaces.
    const FaceStandIn* Find(const QString& family, bool matchStandIn) const;

    std::span<const FaceStandIn> m_faces;
};

}  // namespace zembra

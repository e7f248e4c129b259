#include "framework/qt/point_font.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <cmath>

namespace zembra {
namespace {

struct Face {
    QString name;       // as the template gives it
    QString latinName;  // the same face's other family name
    QString standIn;    // the Debian font used where the face is missing
    // The face's ascent and descent as the platform measures a font's height, in em.
    double ascent;
    double descent;
};

// The face a family name asks for; with `matchStandIn`, also the face a stand-in replaces.
const Face* FindFace(const QString& name, bool matchStandIn = false) {
    static const Face faces[] = {
        // Song: 220 + 36 of 256 units per em.
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"), 220.0 / 256, 36.0 / 256},
        // The dialog face: 2167 + 536 of 2048 units per em.
        {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
         2167.0 / 2048, 536.0 / 2048},
    };
    for (const Face& face : faces) {
        if (name == face.name || name == face.latinName || (matchStandIn && name == face.standIn)) return &face;
    }
    return nullptr;
}

}  // namespace

QStringList FamiliesForFace(const QString& face) {
    const Face* known = FindFace(face);
    if (!known) return {face};
    // Families the machine lacks are left out: for each of them Qt would ask fontconfig for
    // substitutes, which costs about a fifth of the program's start-up.
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString& family : {known->name, known->latinName}) {
        if (installed.contains(family, Qt::CaseInsensitive)) families << family;
    }
    families << known->standIn;
    return families;
}

QFont MakePointFont(int tenthsOfPoint, const QString& face, int dpiY) {
    QFont font;
    font.setFamilies(FamiliesForFace(face));
    font.setPixelSize(dpiY * tenthsOfPoint / 720);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // Unhinted: at these sizes the CJK faces look the same either way, and hinting their
    // many-stroked glyphs costs about a seventh of the program's start-up.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::optional<int> AskedFaceCharacterHeight(const QFont& font) {
    if (font.families().isEmpty()) return std::nullopt;
    const Face* face = FindFace(font.families().front(), true);
    if (!face) return std::nullopt;
    const QString used = QFontInfo(font).family();
    if (used.compare(face->name, Qt::CaseInsensitive) == 0 || used.compare(face->latinName, Qt::CaseInsensitive) == 0) {
        return std::nullopt;
    }
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    return static_cast<int>(std::lround(face->ascent * pixels) + std::lround(face->descent * pixels));
}

}  // namespace zembra

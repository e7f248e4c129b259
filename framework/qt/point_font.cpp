#include "framework/qt/point_font.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <cmath>

namespace zembra {

const FaceStandIn* FontFaces::Find(const QString& family, bool matchStandIn) const {
    for (const FaceStandIn& face : m_faces) {
        if (family == QString::fromUtf8(face.name) || family == QString::fromUtf8(face.latinName) ||
            (matchStandIn && family == QString::fromUtf8(face.standIn))) {
            return &face;
        }
    }
    return nullptr;
}

QStringList FontFaces::FamiliesFor(const QString& face) const {
    const FaceStandIn* known = Find(face, false);
    if (!known) return {face};
    // Families the machine lacks are left out: for each of them Qt would ask fontconfig for
    // substitutes, which costs about a fifth of the program's start-up.
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const char* family : {known->name, known->latinName}) {
        const QString name = QString::fromUtf8(family);
        if (installed.contains(name, Qt::CaseInsensitive)) families << name;
    }
    families << QString::fromUtf8(known->standIn);
    return families;
}

QFont FontFaces::MakePointFont(int tenthsOfPoint, const QString& face, int dpiY) const {
    QFont font;
    font.setFamilies(FamiliesFor(face));
    font.setPixelSize(dpiY * tenthsOfPoint / 720);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // Unhinted: at these sizes the CJK faces look the same either way, and hinting their
    // many-stroked glyphs costs about a seventh of the program's start-up.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::optional<int> FontFaces::AskedFaceCharacterHeight(const QFont& font) const {
    if (font.families().isEmpty()) return std::nullopt;
    const FaceStandIn* face = Find(font.families().front(), true);
    if (!face) return std::nullopt;
    const QString used = QFontInfo(font).family();
    if (used.compare(QString::fromUtf8(face->name), Qt::CaseInsensitive) == 0 ||
        used.compare(QString::fromUtf8(face->latinName), Qt::CaseInsensitive) == 0) {
        return std::nullopt;
    }
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    return static_cast<int>(std::lround(face->ascent * pixels) + std::lround(face->descent * pixels));
}

}  // namespace zembra

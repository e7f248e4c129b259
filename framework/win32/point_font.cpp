#include "framework/win32/point_font.h"

#include <algorithm>

namespace zembra::win32 {

LOGFONTW PointFontDescription(int tenthsOfPoint, std::wstring_view face, int logPixelsY) {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = -(logPixelsY * tenthsOfPoint / 720);
    // Room for the terminating zero; a longer face is cut.
    const std::size_t length = std::min(face.size(), std::size(font.lfFaceName) - 1);
    std::copy_n(face.begin(), length, font.lfFaceName);
    return font;
}

HFONT CreatePointFont(int tenthsOfPoint, std::wstring_view face, int logPixelsY) {
    const LOGFONTW font = PointFontDescription(tenthsOfPoint, face, logPixelsY);
    return CreateFontIndirectW(&font);
}

}  // namespace zembra::win32

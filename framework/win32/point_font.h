// Fonts by point size, made the way the platform's framework makes them: a logical font that is
// all zero but its face, the default character set and a character height for the screen.
#pragma once

#include <string_view>

#include <windows.h>

namespace zembra::win32 {

// `tenthsOfPoint` as 180 for 18 points; the height is -(logPixelsY * tenths / 720), truncated,
// so at 96 pixels per inch 18 points are 24 pixels and 12 points 16.
LOGFONTW PointFontDescription(int tenthsOfPoint, std::wstring_view face, int logPixelsY);

// The same for a screen of `logPixelsY` dots per inch; nullptr when the font cannot be made.
HFONT CreatePointFont(int tenthsOfPoint, std::wstring_view face, int logPixelsY);

}  // namespace zembra::win32

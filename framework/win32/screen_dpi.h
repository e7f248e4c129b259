// The screen scale a window is shown at. The program declares per-monitor awareness (version 2)
// with system awareness as the fallback, so Windows 10 1703 and later tell each window the scale
// of its monitor, and older systems the one scale of the whole session. The functions that ask
// per window appeared with Windows 10 and are looked up when first needed, so the program still
// starts on Windows 7.
#pragma once

#include <windows.h>

namespace zembra::win32 {

// The scale at which a dialog's own layout, bitmaps and icons are drawn one to one.
constexpr int kStandardDpi = 96;

// Dots per inch of the window's monitor (per-monitor aware), else of the session.
int WindowDpi(HWND window);

// The system's icon size (SM_CXICON) at `dpi`.
int IconSizeForDpi(int dpi);

// A length in pixels at 96 dots per inch, at `dpi`, rounded to the nearest pixel.
inline int ScaleToDpi(int pixelsAtStandardDpi, int dpi) { return MulDiv(pixelsAtStandardDpi, dpi, kStandardDpi); }

}  // namespace zembra::win32

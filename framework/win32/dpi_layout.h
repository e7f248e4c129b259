// The dialog's layout at any screen scale: the layout the dialog manager makes at 96 dots per
// inch, scaled by the screen's dots per inch over 96. The dialog manager itself converts dialog
// units with the dialog font's metrics at the screen's scale, whose rounding makes the controls
// up to a twentieth narrower or shorter than the texts and pictures in them, which scale exactly;
// scaling the 96-DPI layout keeps every text and picture that fits at 96 DPI fitting at any scale.
#pragma once

#include <span>

#include <windows.h>

#include "framework/win32/dialog_resource.h"

namespace zembra::win32 {

struct BaseUnits {
    int x;  // a quarter of this is one horizontal dialog unit, in pixels
    int y;  // an eighth of this is one vertical dialog unit
};

// The dialog manager's base units for a font: the rounded average width of the 52 Latin letters,
// and the character height.
BaseUnits FontBaseUnits(HFONT font);

// The base units of the template's font made for `dpi`.
BaseUnits TemplateBaseUnits(const DialogResource& dialog, int dpi);

// A rectangle in dialog units in pixels, position and size each converted on its own, as the
// dialog manager converts them.
RECT DialogUnitsToPixels(const DialogUnitRect& rect, BaseUnits units);

// A rectangle of the 96-DPI layout at `dpi`.
RECT ScaleRectToDpi(const RECT& rect, int dpi);

// The place of a control of the 96-DPI layout at `dpi`, from the template's base units at 96 DPI.
RECT ItemRectForDpi(const DialogItemResource& item, BaseUnits units, int dpi);

// Moves and sizes every control of `window` (made from `dialog`; `controls` holds the window of
// each item, nullptr for one not made yet) and the window's client area to the 96-DPI layout
// scaled to `dpi`. Icon and bitmap statics keep the size of their picture.
void LayOutForDpi(HWND window, const DialogResource& dialog, std::span<const HWND> controls, int dpi);

}  // namespace zembra::win32

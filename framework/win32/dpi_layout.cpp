#include "framework/win32/dpi_layout.h"

#include <algorithm>

#include "framework/win32/screen_dpi.h"

namespace zembra::win32 {

BaseUnits FontBaseUnits(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    GetTextExtentPoint32W(screen, kLetters, 52, &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

BaseUnits TemplateBaseUnits(const DialogResource& dialog, int dpi) {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(dialog.fontPoints, dpi, 72);
    description.lfWeight = dialog.fontWeight;
    description.lfItalic = dialog.fontItalic ? TRUE : FALSE;
    description.lfCharSet = dialog.fontCharSet;
    const std::size_t length = std::min(dialog.fontFace.size(), std::size(description.lfFaceName) - 1);
    std::copy_n(dialog.fontFace.begin(), length, description.lfFaceName);
    HFONT font = CreateFontIndirectW(&description);
    const BaseUnits units = FontBaseUnits(font);
    DeleteObject(font);
    return units;
}

RECT DialogUnitsToPixels(const DialogUnitRect& rect, BaseUnits units) {
    const int x = MulDiv(rect.x, units.x, 4);
    const int y = MulDiv(rect.y, units.y, 8);
    return {x, y, x + MulDiv(rect.width, units.x, 4), y + MulDiv(rect.height, units.y, 8)};
}

RECT ScaleRectToDpi(const RECT& rect, int dpi) {
    const int x = ScaleToDpi(rect.left, dpi);
    const int y = ScaleToDpi(rect.top, dpi);
    return {x, y, x + ScaleToDpi(rect.right - rect.left, dpi), y + ScaleToDpi(rect.bottom - rect.top, dpi)};
}

RECT ItemRectForDpi(const DialogItemResource& item, BaseUnits units, int dpi) {
    return ScaleRectToDpi(DialogUnitsToPixels(item.rect, units), dpi);
}

void LayOutForDpi(HWND window, const DialogResource& dialog, std::span<const HWND> controls, int dpi) {
    const BaseUnits units = TemplateBaseUnits(dialog, kStandardDpi);

    for (std::size_t i = 0; i < dialog.items.size() && i < controls.size(); ++i) {
        if (controls[i] == nullptr) continue;
        const DialogItemResource& item = dialog.items[i];
        const RECT rect = ItemRectForDpi(item, units, dpi);
        SetWindowPos(controls[i], nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (item.IsPicture() ? SWP_NOSIZE : 0));
    }

    // The client area likewise; the frame around it is the system's own at this scale.
    const RECT client = ScaleRectToDpi(DialogUnitsToPixels({0, 0, dialog.rect.width, dialog.rect.height}, units), dpi);
    RECT frame{}, current{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &current);
    const int width = client.right + (frame.right - frame.left) - current.right;
    const int height = client.bottom + (frame.bottom - frame.top) - current.bottom;
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zembra::win32

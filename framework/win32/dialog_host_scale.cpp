// The dialog host at the screen's scale. Windows 10 1703 and later scale a per-monitor aware
// dialog themselves when it moves to a screen of another scale: the window, the controls and the
// dialog font. What they leave to the program is done here: the point fonts made for the old
// scale, the layout (kept at the 96-DPI one, scaled; see dpi_layout.h) and the pictures.
#include "framework/win32/dialog_host.h"
#include "framework/win32/dpi_layout.h"
#include "framework/win32/point_font.h"
#include "framework/win32/screen_dpi.h"
#include "framework/win32/wide_text.h"

namespace zembra::win32 {

void DialogHost::TakeScale(int dpi) { m_dpi = dpi > 0 ? dpi : kStandardDpi; }

// The dialog manager does its part when this returns; the rest follows once it is done, before
// the window paints again.
INT_PTR DialogHost::OnDpiChanged(int dpi) {
    TakeScale(dpi);
    PostMessageW(m_window, kApplyScaleMessage, 0, 0);
    return FALSE;
}

// The dialog manager lays the dialog out for its font at the window's scale; at 96 dots per inch
// that is the layout itself, at any other scale it is replaced by the 96-DPI one scaled.
void DialogHost::ApplyScale() {
    RecreateFonts();
    if (m_template && (m_dpi != kStandardDpi || m_layoutDpi != kStandardDpi)) {
        std::vector<HWND> windows;
        for (const Control& control : m_controls) windows.push_back(control.window);
        LayOutForDpi(m_window, *m_template, windows, m_dpi);
        m_layoutDpi = m_dpi;
    }
    for (const Control& control : m_controls) {
        if (control.item->image != 0 && IsShown(control.window)) FitImage(control.item->id);
    }
    PlaceToolTips();
}

void DialogHost::FitImage(int id) {
    const auto found = m_byId.find(id);
    if (found == m_byId.end()) return;
    const Control& control = m_controls[found->second];
    if (control.item->image != 0 && control.window != nullptr) {
        m_images.Fit(control.window, control.item->image, m_dpi);
    }
}

// Every point font made anew for the current scale and given again to the controls that use it;
// the old fonts go once no control uses them.
void DialogHost::RecreateFonts() {
    std::vector<HFONT> old;
    for (PointFont& font : m_fonts) {
        HFONT replacement = win32::CreatePointFont(font.tenthsOfPoint, font.face, m_dpi);
        if (replacement == nullptr) continue;
        LOGFONTW before{}, after{};
        GetObjectW(font.handle, sizeof before, &before);
        GetObjectW(replacement, sizeof after, &after);
        if (before.lfHeight == after.lfHeight) {  // made for this scale already
            DeleteObject(replacement);
            continue;
        }
        old.push_back(font.handle);
        font.handle = replacement;
    }
    if (old.empty()) return;
    // Each control takes its new font without drawing; the window is drawn once after them all.
    for (const auto& [id, font] : m_itemFonts) SendFont(id, m_fonts[static_cast<std::size_t>(font) - 1].handle, false);
    if (IsShown(m_window)) RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    for (HFONT font : old) DeleteObject(font);
}

FontHandle DialogHost::CreatePointFont(int tenthsOfPoint, const std::string& face) {
    const std::wstring wideFace = Wide(face);
    HFONT font = win32::CreatePointFont(tenthsOfPoint, wideFace, m_dpi);
    if (font == nullptr) return 0;
    m_fonts.push_back({tenthsOfPoint, wideFace, font});
    return static_cast<FontHandle>(m_fonts.size());
}

void DialogHost::SetItemFont(int id, FontHandle font) {
    const bool known = font > 0 && static_cast<std::size_t>(font) <= m_fonts.size();
    HFONT handle = known ? m_fonts[static_cast<std::size_t>(font) - 1].handle : nullptr;
    if (known)
        m_itemFonts[id] = font;
    else
        m_itemFonts.erase(id);
    // A control that is not on screen (all of them while the dialog starts, hidden) only takes
    // the font: it is drawn with it when it is first shown.
    SendFont(id, handle, IsShown(WindowOf(id)));
}

// A control without a window yet takes its font when it is made.
void DialogHost::SendFont(int id, HFONT font, bool redraw) const {
    if (HWND control = WindowOf(id))
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

}  // namespace zembra::win32

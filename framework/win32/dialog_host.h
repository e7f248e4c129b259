// The Win32 backend of the dialog base: creates the dialog from its resource template, runs our
// own modal loop, sends each message to one handler of the Dialog, and implements the control
// operations on the real controls with the wide-character API.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/accessible_name.h"
#include "framework/control_host.h"
#include "framework/dialog.h"
#include "framework/win32/dialog_images.h"
#include "framework/win32/dialog_resource.h"
#include "framework/win32/screen_reader.h"

namespace zembra::win32 {

class DialogHost final : public ControlHost {
public:
    // The dialog template and its initialisation data share `templateId`. Loads the application
    // icon `iconId` from the program's resources now; the window comes with DoModal.
    DialogHost(int templateId, int iconId);
    // The fonts are deleted here, after the window and its controls are gone.
    ~DialogHost() override;
    DialogHost(const DialogHost&) = delete;
    DialogHost& operator=(const DialogHost&) = delete;

    // Creates the owner-less dialog, runs the modal loop until the dialog ends, hides and destroys
    // the window. Returns the end code (IDOK or IDCANCEL), or -1 when the template is missing.
    INT_PTR DoModal(Dialog& dialog);

    // The dialog window while DoModal runs, otherwise nullptr.
    HWND Window() const { return m_window; }
    // The screen scale the dialog is laid out and drawn for, in dots per inch.
    int Dpi() const { return m_dpi; }
    // The control's window. A control that has not been shown yet may have none; asking for its
    // window makes it (hidden, as the control is), since the caller means to use it.
    HWND Item(int id) const;

    // What a screen reader says for the controls of the table (dialog_host_screen_reader.cpp);
    // given before DoModal.
    void SetAccessibleNames(std::vector<AccessibleName> names);
    // The name that the control of the table has now; empty for the others.
    std::wstring AccessibleNameOf(int id) const;
    // The tip the tooltip control holds for the control now; empty for none.
    std::wstring ToolTipOf(int id) const;

    void SetItemText(int id, const std::string& text) override;
    std::string GetItemText(int id) const override;
    void SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) override;
    void ShowItem(int id, bool show) override;
    bool IsItemVisible(int id) const override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void CheckItem(int id, bool checked) override;
    bool IsItemChecked(int id) const override;
    void SetItemToolTip(int id, const std::string& text) override;
    void SetItemFocus(int id) override;
    std::optional<std::string> GetComboSelectionText(int id) const override;
    void RepaintDialog() override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void AddComboItem(int id, const std::string& text) override;
    void RemoveComboItem(int id, int index) override;
    void SelectComboItem(int id, int index) override;
    void Tell(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> AskFileToOpen(const std::string& title, const std::string& filterName,
                                                       std::span<const std::string_view> patterns) override;
    FontHandle CreatePointFont(int tenthsOfPoint, const std::string& face) override;
    void SetItemFont(int id, FontHandle font) override;
    void SetWindowIcons() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The handlers of the message map.
    INT_PTR OnInitDialog(HWND window);
    INT_PTR OnPaint();
    INT_PTR OnQueryDragIcon() const;
    INT_PTR OnCommand(int id, int code);
    INT_PTR OnCtlColor(UINT message, HDC dc, HWND control) const;
    // A text static given runs is owner-drawn until its text is set plain again.
    INT_PTR OnDrawItem(const DRAWITEMSTRUCT& item);
    INT_PTR OnCancelMode() const;
    INT_PTR OnClose();
    INT_PTR OnQueryEndSession();
    INT_PTR OnEndSession(bool ending);

    // The screen scale (dialog_host_scale.cpp): fonts, layout and pictures for the window's
    // dots per inch, at the start and whenever the window moves to a screen of another scale.
    static constexpr UINT kApplyScaleMessage = WM_APP + 1;
    void TakeScale(int dpi);
    INT_PTR OnDpiChanged(int dpi);
    void ApplyScale();
    void RecreateFonts();
    // WM_SETFONT; `redraw` draws the control with the font at once.
    void SendFont(int id, HFONT font, bool redraw) const;
    void FitImage(int id);

    void NameForScreenReader(const AccessibleName& entry);
    void NameAllForScreenReader();
    void TextChangedForScreenReader(int id);
    void ShownForScreenReader(int id);
    void ClearForScreenReader();

    // The tips (dialog_host_tool_tip.cpp), each a rectangle of the dialog over its control.
    RECT ToolRect(int id) const;
    void PlaceToolTips();

    // The controls that the dialog manager creates, and the ones the host makes when first needed.
    std::vector<bool> PrepareControls();
    void TakeControlWindows();
    HWND Made(int id);
    RECT DeferredRect(const DialogItemResource& item) const;

    bool PreTranslateMessage(const MSG& message) const;
    void CentreInWorkArea() const;
    void FocusFirstTabStop() const;
    void EndDialog(INT_PTR code);
    static bool IsEmptyAsSet(HWND control);
    // The window's own visible style, whatever its parent's.
    static bool HasVisibleStyle(HWND window);
    // The window of the control `id`, nullptr while it has none. The controls are looked up in
    // the host's own table: a control's window stays the same to the end, and each GetDlgItem
    // asks the window server for the list of children.
    HWND WindowOf(int id) const;
    // A control that has no window yet and keeps its state in the host meanwhile, or nullptr.
    struct Control;
    Control* Deferred(int id);
    const Control* Deferred(int id) const;
    // IsWindowVisible for a control of the dialog: its own visible style and the dialog's, read
    // from the windows without asking the window server for the chain of parents.
    bool IsShown(HWND control) const;

    int m_templateId;
    HINSTANCE m_module;
    HICON m_icon;
    Dialog* m_dialog = nullptr;
    HWND m_window = nullptr;
    bool m_ended = false;
    INT_PTR m_endCode = -1;

    // A control of the template, and what the host keeps for it while it has no window. A control
    // that starts hidden and that a screen reader is told nothing of (and that is no default button
    // and has no list to fill) is made when it is first shown or asked for: most such controls are
    // never shown, and making their 63 windows, with their fonts and texts, took about a quarter
    // of the program's start-up under Wine.
    struct Control {
        const DialogItemResource* item = nullptr;
        bool deferred = false;  // made by the host, not by the dialog manager
        HWND window = nullptr;
        std::wstring text;  // while it has no window
        bool enabled = true;
    };
    std::vector<Control> m_controls;    // template order (the z-order and the tab order), while the window lives
    std::map<int, std::size_t> m_byId;  // the index of a control in m_controls

    // What the screen scale needs: each point font with what it was made from, the font each
    // control was given, the template, and the pictures drawn for the scale.
    struct PointFont {
        int tenthsOfPoint;
        std::wstring face;
        HFONT handle;
    };
    std::vector<PointFont> m_fonts;
    std::map<int, FontHandle> m_itemFonts;
    std::optional<DialogResource> m_template;
    DialogImages m_images;
    int m_dpi;
    int m_layoutDpi;  // the scale the controls stand at

    // The text statics drawn as runs, with the static type each had before.
    struct MarkedText {
        std::vector<TextRun> runs;
        LONG plainType;
    };
    std::map<int, MarkedText> m_marked;

    HWND m_toolTip = nullptr;  // the tooltip control, made with the first tip; owned by the window
    std::map<int, std::wstring> m_toolTips;

    std::vector<AccessibleName> m_accessibleNames;
    std::unique_ptr<ScreenReaderNames> m_screenReader;  // while the dialog runs
};

}  // namespace zembra::win32

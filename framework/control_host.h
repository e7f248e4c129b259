// The control operations a dialog needs from the window system. Each platform backend (Win32,
// Qt, and the in-memory one the tests drive) implements them; the dialog logic reaches the
// screen through nothing else. All texts are GBK byte strings.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/text_run.h"

namespace zembra {

// A font made by the backend from a point size and a face name; 0 means "no font".
using FontHandle = int;

class ControlHost {
public:
    virtual ~ControlHost() = default;

    // The control shows `text` in place of its old text and redraws itself.
    virtual void SetItemText(int id, const std::string& text) = 0;
    // The control's whole current text (for an edit: what was typed). Typed characters that
    // have no GBK form come back as the byte 0xFF, which no valid GBK text contains.
    virtual std::string GetItemText(int id) const = 0;
    // A text control draws `runs` one after the other, each in its own colour and style, in place
    // of its text, aligned as its text would be and made smaller to fit its width when it must;
    // `text` becomes its text as GetItemText reads it and a screen reader says it. SetItemText
    // makes it plain again.
    virtual void SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) = 0;
    virtual void ShowItem(int id, bool show) = 0;
    virtual bool IsItemVisible(int id) const = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    virtual bool IsItemEnabled(int id) const = 0;
    // A check box's state; the pupil's click changes it before the dialog hears of the click.
    virtual void CheckItem(int id, bool checked) = 0;
    virtual bool IsItemChecked(int id) const = 0;
    // The tip shown while the mouse rests on the control, enabled or not; empty for none.
    virtual void SetItemToolTip(int id, const std::string& text) = 0;
    virtual void SetItemFocus(int id) = 0;
    // The text of the item selected in a combo box's list, or nothing when no item is selected.
    virtual std::optional<std::string> GetComboSelectionText(int id) const = 0;
    // Adds an item at the end of a combo box's list.
    virtual void AddComboItem(int id, const std::string& text) = 0;
    // Removes the item at `index` of a combo box's list (a selected one leaves nothing selected),
    // without telling the dialog.
    virtual void RemoveComboItem(int id, int index) = 0;
    // Selects the item at `index` of a combo box's list and shows it in the field, as the pupil's
    // choice would, but without telling the dialog (no SelectionChanged reaches OnCommand).
    virtual void SelectComboItem(int id, int index) = 0;
    // Brings the whole dialog on the screen up to date before returning, backgrounds included:
    // drawn as a repaint of the whole dialog would draw it, which a backend may do by painting
    // only what the changes since the last painting touched.
    virtual void RepaintDialog() = 0;
    // A modal box owned by the dialog with Yes and No (Yes the default), no icon; Escape does not
    // close it. Returns true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A modal box owned by the dialog with one OK button and the information icon.
    virtual void Tell(const std::string& text, const std::string& caption) = 0;
    // The desktop's own dialog for choosing a file to open, owned by the dialog: `title`, one filter
    // named `filterName` that shows the files matching `patterns` ("*.txt"), the user's own folders.
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> AskFileToOpen(const std::string& title, const std::string& filterName,
                                                               std::span<const std::string_view> patterns) = 0;

    // Creates a font once; `tenthsOfPoint` as 180 for 18 points. The backend keeps it alive until
    // after the window is gone.
    virtual FontHandle CreatePointFont(int tenthsOfPoint, const std::string& face) = 0;
    virtual void SetItemFont(int id, FontHandle font) = 0;
    // Sets the application icon as the window's big and small icon.
    virtual void SetWindowIcons() = 0;
};

}  // namespace zembra

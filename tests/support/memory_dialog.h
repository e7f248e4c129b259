// An in-memory dialog backend: the controls of a template with their text, visibility, enabled
// state and font, the focus, the combo lists, Yes/No questions answered by the test, a repaint
// counter, and the dialog-manager rules the program relies on (Enter presses the focused push
// button, else the enabled default button; Escape cancels; Tab walks the shown, enabled tab stops
// in template order).
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_template.h"

namespace zembra::testing {

struct MemoryControl {
    const ControlTemplate* tmpl = nullptr;
    std::string text;
    bool visible = false;
    bool enabled = true;
    FontHandle font = 0;
    std::string toolTip;
    bool checked = false;
    // What the control draws in place of its text, when it was given runs (SetItemMarkedText).
    std::vector<TextRun> runs;
};

struct AskedQuestion {
    std::string text;
    std::string caption;
};

struct CreatedFont {
    int tenthsOfPoint;
    std::string face;
};

class MemoryDialog : public ControlHost {
public:
    // The template and its combo lists must outlive the dialog.
    MemoryDialog(const DialogTemplate& dialogTemplate, std::span<const ComboBoxList> comboLists);

    // Runs the base initialisation (fills the combo boxes), then OnInitDialog; when it returns
    // true the focus goes to the first shown, enabled tab stop.
    void Start(Dialog& dialog);

    // What the pupil does.
    void Type(int id, const std::string& text);  // replaces an edit's text, as typing into an empty box
    void Click(int id);  // a mouse click on a button: focus, then the command; a check box changes first
    void ChooseComboItem(int id, int index);  // picks an item of a combo box's list
    void PressKey(Key key);                   // through PreTranslateMessage, then the dialog manager
    void CloseBox();                          // the close request

    // What the test reads.
    const MemoryControl& Control(int id) const;
    std::string Text(int id) const { return Control(id).text; }
    int Focus() const { return m_focus; }
    std::optional<int> EndCode() const { return m_endCode; }
    int Repaints() const { return m_repaints; }
    bool IconsSet() const { return m_iconsSet; }
    const std::vector<CreatedFont>& Fonts() const { return m_fonts; }
    const std::vector<AskedQuestion>& Questions() const { return m_questions; }
    const std::vector<std::string>& ComboItems(int id) const;
    // The ids of the controls whose font was set, in the order it was set.
    const std::vector<int>& FontOrder() const { return m_fontOrder; }

    // Answers for the coming Yes/No boxes, in order; a box with no answer queued fails the test.
    void AnswerNextQuestion(bool yes) { m_answers.push_back(yes); }
    // What the coming file dialog returns: a file, or nothing for Cancel; one with none queued
    // fails the test.
    void ChooseNextFile(std::optional<std::filesystem::path> file) { m_files.push_back(std::move(file)); }
    // The OK boxes shown, in order, and the file dialogs opened.
    const std::vector<AskedQuestion>& Messages() const { return m_messages; }
    const std::vector<AskedQuestion>& FileDialogs() const { return m_fileDialogs; }

    // ControlHost
    void SetItemText(int id, const std::string& text) override;
    void SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) override;
    std::string GetItemText(int id) const override;
    void ShowItem(int id, bool show) override;
    bool IsItemVisible(int id) const override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void CheckItem(int id, bool checked) override { Mutable(id).checked = checked; }
    bool IsItemChecked(int id) const override { return Control(id).checked; }
    void SetItemToolTip(int id, const std::string& text) override { Mutable(id).toolTip = text; }
    void SetItemFocus(int id) override;
    std::optional<std::string> GetComboSelectionText(int id) const override;
    void RepaintDialog() override { ++m_repaints; }
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void AddComboItem(int id, const std::string& text) override { m_combos.at(id).items.push_back(text); }
    void RemoveComboItem(int id, int index) override;
    void SelectComboItem(int id, int index) override;
    void Tell(const std::string& text, const std::string& caption) override { m_messages.push_back({text, caption}); }
    std::optional<std::filesystem::path> AskFileToOpen(const std::string& title, const std::string& filterName,
                                                       std::span<const std::string_view> patterns) override;
    FontHandle CreatePointFont(int tenthsOfPoint, const std::string& face) override;
    void SetItemFont(int id, FontHandle font) override;
    void SetWindowIcons() override { m_iconsSet = true; }

private:
    MemoryControl& Mutable(int id);
    bool IsTabStop(const MemoryControl& control) const;
    void Command(int id, Notification code);

    struct ComboBox {
        std::vector<std::string> items;
        std::optional<int> selection;
    };

    std::span<const ComboBoxList> m_comboLists;
    Dialog* m_dialog = nullptr;
    std::map<int, MemoryControl> m_controls;
    std::vector<int> m_order;  // template order of the controls with an id
    std::map<int, ComboBox> m_combos;
    int m_defaultButton = 0;
    int m_focus = 0;
    std::optional<int> m_endCode;
    int m_repaints = 0;
    bool m_iconsSet = false;
    std::vector<CreatedFont> m_fonts;
    std::vector<int> m_fontOrder;
    std::deque<bool> m_answers;
    std::vector<AskedQuestion> m_questions;
    std::vector<AskedQuestion> m_messages;
    std::vector<AskedQuestion> m_fileDialogs;
    std::deque<std::optional<std::filesystem::path>> m_files;
};

}  // namespace zembra::testing

#include "tests/support/memory_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace zembra::testing {

MemoryDialog::MemoryDialog(const DialogTemplate& dialogTemplate, std::span<const ComboBoxList> comboLists)
    : m_comboLists(comboLists) {
    for (const ControlTemplate& c : dialogTemplate.controls) {
        if (c.id < 0) continue;
        MemoryControl control;
        control.tmpl = &c;
        control.text = std::string(c.text);
        control.visible = c.visible;
        m_controls[c.id] = control;
        m_order.push_back(c.id);
        if (c.kind == ControlKind::DropDownCombo) m_combos[c.id] = {};
        if (c.kind == ControlKind::DefaultPushButton) m_defaultButton = c.id;
    }
}

void MemoryDialog::Start(Dialog& dialog) {
    m_dialog = &dialog;
    for (const ComboBoxList& list : m_comboLists) {
        std::vector<std::string>& items = m_combos.at(list.control).items;
        items.assign(list.entries.begin(), list.entries.end());
    }
    if (dialog.OnInitDialog()) {
        const auto first = std::find_if(m_order.begin(), m_order.end(), [&](int id) { return IsTabStop(Control(id)); });
        if (first != m_order.end()) m_focus = *first;
    }
}

const MemoryControl& MemoryDialog::Control(int id) const {
    const auto it = m_controls.find(id);
    if (it == m_controls.end()) throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
}

MemoryControl& MemoryDialog::Mutable(int id) { return const_cast<MemoryControl&>(Control(id)); }

bool MemoryDialog::IsTabStop(const MemoryControl& control) const {
    return control.tmpl->tabStop && control.visible && control.enabled;
}

void MemoryDialog::Command(int id, Notification code) {
    if (!m_endCode) m_dialog->OnCommand(id, code);
}

void MemoryDialog::Type(int id, const std::string& text) {
    MemoryControl& control = Mutable(id);
    ASSERT_EQ(control.tmpl->kind, ControlKind::Edit);
    ASSERT_TRUE(control.visible && control.enabled) << "typing into a control the pupil cannot reach";
    m_focus = id;
    control.text = text;
}

void MemoryDialog::Click(int id) {
    const MemoryControl& control = Control(id);
    if (!control.visible || !control.enabled) return;  // a disabled button takes no clicks
    if (control.tmpl->kind == ControlKind::PushButton || control.tmpl->kind == ControlKind::DefaultPushButton ||
        control.tmpl->kind == ControlKind::CheckBox) {
        m_focus = id;
    }
    if (control.tmpl->kind == ControlKind::CheckBox) Mutable(id).checked = !control.checked;
    Command(id, Notification::Clicked);
}

void MemoryDialog::ChooseComboItem(int id, int index) {
    ComboBox& combo = m_combos.at(id);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, static_cast<int>(combo.items.size()));
    combo.selection = index;
    Command(id, Notification::SelectionChanged);
}

const std::vector<std::string>& MemoryDialog::ComboItems(int id) const { return m_combos.at(id).items; }

void MemoryDialog::PressKey(Key key) {
    if (m_endCode) return;
    if (m_dialog->PreTranslateMessage(KeyMessage{true, key})) return;
    switch (key) {
        case Key::Enter: {
            const auto focused = m_controls.find(m_focus);
            const bool pushButtonFocused =
                focused != m_controls.end() && (focused->second.tmpl->kind == ControlKind::PushButton ||
                                                focused->second.tmpl->kind == ControlKind::DefaultPushButton);
            if (pushButtonFocused) {
                Command(m_focus, Notification::Clicked);
            } else if (m_defaultButton != 0 && IsItemEnabled(m_defaultButton) && IsItemVisible(m_defaultButton)) {
                Command(m_defaultButton, Notification::Clicked);
            }
            break;
        }
        case Key::Escape:
            m_endCode = kIdCancel;
            break;
        case Key::Tab: {
            // The next shown, enabled tab stop after the focus in template order, wrapping around.
            const auto at = std::find(m_order.begin(), m_order.end(), m_focus);
            const std::size_t start = at == m_order.end() ? 0 : static_cast<std::size_t>(at - m_order.begin());
            for (std::size_t step = 1; step <= m_order.size(); ++step) {
                const int id = m_order[(start + step) % m_order.size()];
                if (IsTabStop(Control(id))) {
                    m_focus = id;
                    break;
                }
            }
            break;
        }
        case Key::Other:
            break;
    }
}

void MemoryDialog::CloseBox() {
    if (m_endCode) return;
    m_dialog->OnClose();
    m_endCode = kIdCancel;
}

void MemoryDialog::SetItemText(int id, const std::string& text) {
    MemoryControl& control = Mutable(id);
    control.text = text;
    control.runs.clear();
}

void MemoryDialog::SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) {
    MemoryControl& control = Mutable(id);
    EXPECT_EQ(control.tmpl->kind, ControlKind::TextStatic) << "runs for a control that draws no text";
    control.text = text;
    control.runs.assign(runs.begin(), runs.end());
}
std::string MemoryDialog::GetItemText(int id) const { return Control(id).text; }

void MemoryDialog::ShowItem(int id, bool show) {
    Mutable(id).visible = show;
    if (!show && m_focus == id) m_focus = 0;
}

bool MemoryDialog::IsItemVisible(int id) const { return Control(id).visible; }

void MemoryDialog::EnableItem(int id, bool enable) {
    Mutable(id).enabled = enable;
    // A disabled control loses the keyboard focus.
    if (!enable && m_focus == id) m_focus = 0;
}

bool MemoryDialog::IsItemEnabled(int id) const { return Control(id).enabled; }

void MemoryDialog::SetItemFocus(int id) { m_focus = id; }

std::optional<std::string> MemoryDialog::GetComboSelectionText(int id) const {
    const ComboBox& combo = m_combos.at(id);
    if (!combo.selection) return std::nullopt;
    return combo.items[static_cast<std::size_t>(*combo.selection)];
}

void MemoryDialog::RemoveComboItem(int id, int index) {
    ComboBox& combo = m_combos.at(id);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, static_cast<int>(combo.items.size()));
    combo.items.erase(combo.items.begin() + index);
    if (combo.selection == index) {
        combo.selection.reset();
    } else if (combo.selection > index) {
        --*combo.selection;
    }
}

void MemoryDialog::SelectComboItem(int id, int index) {
    ComboBox& combo = m_combos.at(id);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, static_cast<int>(combo.items.size()));
    combo.selection = index;
}

std::optional<std::filesystem::path> MemoryDialog::AskFileToOpen(const std::string& title,
                                                                 const std::string& filterName,
                                                                 std::span<const std::string_view> patterns) {
    std::string filter = filterName;
    for (std::string_view pattern : patterns) filter.append(" ").append(pattern);
    m_fileDialogs.push_back({filter, title});
    if (m_files.empty()) {
        ADD_FAILURE() << "a file dialog opened that the test did not expect";
        return std::nullopt;
    }
    std::optional<std::filesystem::path> file = std::move(m_files.front());
    m_files.pop_front();
    return file;
}

bool MemoryDialog::AskYesNo(const std::string& text, const std::string& caption) {
    m_questions.push_back({text, caption});
    if (m_answers.empty()) {
        ADD_FAILURE() << "a Yes/No box opened that the test did not expect";
        return false;
    }
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

FontHandle MemoryDialog::CreatePointFont(int tenthsOfPoint, const std::string& face) {
    m_fonts.push_back({tenthsOfPoint, face});
    return static_cast<FontHandle>(m_fonts.size());
}

void MemoryDialog::SetItemFont(int id, FontHandle font) {
    Mutable(id).font = font;
    m_fontOrder.push_back(id);
}

}  // namespace zembra::testing

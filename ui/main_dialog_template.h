// Dialog template 102, the main dialog, as data: its 102 controls in template order (also the
// z-order and the tab order) and the category combo box's list. The Win32 resource script is
// generated from it and the Qt and in-memory dialogs build their controls from it.
#pragma once

#include <span>
#include <string_view>

#include "framework/dialog_template.h"

namespace zembra {

// The font a control draws in after start-up: the dialog's own, or one of the two Song fonts
// that OnInitDialog makes.
enum class FontRole { Dialog, Song18, Song12 };

constexpr int kControlCount = 104;

const DialogTemplate& MainDialogTemplate();
// The font of a control id; FontRole::Dialog for an id the template does not have.
FontRole FontRoleOf(int id);

// The category combo box's list in its unsorted order: "全选", then the categories, then "错题",
// the rows answered wrong, and "复习", the mastered rows due for review (GBK). Only the entries
// between the first and the last two are categories.
std::span<const std::string_view> CategoryComboEntries();
// The same list as the template's initialisation data.
std::span<const ComboBoxList> MainDialogComboLists();

}  // namespace zembra

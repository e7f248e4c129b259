// A dialog template as data: the window and its controls in template order, which is also the
// z-order and the tab order, with each control's kind, styles, text and rectangle in dialog units.
// The Win32 resource script is generated from such a table and the Qt dialog builds its widgets
// from it, so a layout is written down once.
#pragma once

#include <span>
#include <string_view>

namespace zembra {

enum class ControlKind {
    TextStatic,
    PushButton,
    DefaultPushButton,
    CheckBox,  // checked and unchecked by a click, as an automatic check box
    GroupBox,
    Edit,
    IconStatic,    // shows the icon resource `image`
    BitmapStatic,  // shows the bitmap resource `image`
    DropDownCombo,
};

enum class Align { Left, Centre, Right };

struct DialogRect {
    int x, y, width, height;  // dialog units
};

// The id of the controls that have none (frames, fixed labels), as the platform's IDC_STATIC.
constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id = kNoControlId;
    ControlKind kind = ControlKind::TextStatic;
    std::string_view text;  // GBK
    DialogRect rect{};
    bool visible = true;
    bool tabStop = false;
    Align align = Align::Left;
    bool border = false;       // edits
    bool autoHScroll = false;  // edits
    int image = 0;             // icon or bitmap resource id
    // Every text static starts a group; no other control does.
    constexpr bool Group() const { return kind == ControlKind::TextStatic; }
};

struct DialogTemplate {
    int resourceId;
    std::string_view title;     // GBK
    int width, height;          // dialog units
    std::string_view fontFace;  // GBK
    int fontPoints;
    std::span<const ControlTemplate> controls;

    // The entry of a control id, or nullptr.
    constexpr const ControlTemplate* Find(int id) const {
        for (const ControlTemplate& control : controls) {
            if (control.id == id) return &control;
        }
        return nullptr;
    }
};

// The strings that the base initialisation adds to a combo box's list when the dialog opens, in
// this order (GBK). The Win32 resource script keeps them as the template's initialisation data.
struct ComboBoxList {
    int control;
    std::span<const std::string_view> entries;
};

}  // namespace zembra

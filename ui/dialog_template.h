// Dialog template 102 as data: the window and its 100 controls in template order, which is also
// the z-order and the tab order. The Win32 resource script is generated from this table and the
// Qt dialog builds its widgets from it; there is no second copy of the layout.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace zembra {

enum class ControlKind {
    TextStatic,
    PushButton,
    DefaultPushButton,
    GroupBox,
    Edit,
    IconStatic,    // shows the icon resource `image`
    BitmapStatic,  // shows the bitmap resource `image`
    DropDownCombo,
};

enum class Align { Left, Centre, Right };

// The font a control draws in after start-up.
enum class FontRole { Dialog, Song18, Song12 };

struct DialogRect {
    int x, y, width, height;  // dialog units
};

struct ControlTemplate {
    int id;  // -1 for the frames that have none
    ControlKind kind;
    std::string_view text;  // GBK
    DialogRect rect;
    bool visible;
    bool tabStop;
    FontRole font;
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
};

constexpr int kControlCount = 100;

const DialogTemplate& MainDialogTemplate();
// The template entry of a control id, or nullptr.
const ControlTemplate* FindControl(int id);

// The category combo box's list, in its unsorted order (GBK).
std::span<const std::string_view> CategoryComboEntries();

}  // namespace zembra

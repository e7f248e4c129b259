// What a screen reader says for a control, as a front end gives it to the platform's
// accessibility interface: a fixed name, or the text of a label control, followed by the
// control's own text where that is what it shows; and whether a change is announced at once.
#pragma once

#include <string_view>

namespace zembra {

struct AccessibleName {
    int control;
    std::string_view name;  // GBK; empty: the label's text, without its trailing colon
    int label = 0;          // the control whose text names this one
    bool withText = false;  // the control's own text follows the name
    bool live = false;      // announced when it is shown or its text changes
};

}  // namespace zembra

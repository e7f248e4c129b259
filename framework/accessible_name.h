// What a screen reader says for a control, as a front end gives it to the platform's
// accessibility interface: a fixed name, or the text of a label control, followed by the
// control's own text where that is what it shows; and whether a change is announced at once. A
// label named here is read as part of the control it labels, not again on its own.
#pragma once

#include <string>
#include <string_view>

namespace zembra {

struct AccessibleName {
    int control;
    std::string_view name;              // GBK; empty: the label's text, without its trailing colon
    int label = 0;                      // the control whose text names this one
    bool withText = false;              // the control's own text follows the name
    bool live = false;                  // announced when it is shown or its text changes
    std::string_view description = {};  // GBK; what the control is for, where the name says too little
};

// What a screen reader says for the entry's control, given the texts of its label and its own
// (GBK): the fixed name or the label's text without its trailing colon, then the control's text
// without trailing spaces, where the entry asks for it and there is one.
std::string AccessibleNameText(const AccessibleName& entry, std::string_view labelText, std::string_view ownText);

}  // namespace zembra

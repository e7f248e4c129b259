// A piece of a text drawn in a style of its own: a control can show a line made of such runs in
// place of its plain text (ControlHost::SetItemMarkedText).
#pragma once

#include <string>

#include "framework/colour.h"

namespace zembra {

struct TextRun {
    std::string text;  // GBK
    Colour colour = 0;
    bool bold = false;
    bool underline = false;
    bool strikeOut = false;
};

}  // namespace zembra

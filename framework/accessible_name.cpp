#include "framework/accessible_name.h"

namespace zembra {
namespace {

// Without trailing spaces and, with `colons`, the colons (":" and the full-width "："). In GBK
// both bytes of a double-byte character are 0x40 or above, so a space or ":" byte is always a
// character of its own, and "：" (A3 BA) at the end cannot be the tail of another character.
std::string_view TrimEnd(std::string_view text, bool colons) {
    constexpr std::string_view kFullWidthColon = "\xA3\xBA";
    for (;;) {
        if (!text.empty() && (text.back() == ' ' || (colons && text.back() == ':'))) {
            text.remove_suffix(1);
        } else if (colons && text.ends_with(kFullWidthColon)) {
            text.remove_suffix(kFullWidthColon.size());
        } else {
            return text;
        }
    }
}

}  // namespace

std::string AccessibleNameText(const AccessibleName& entry, std::string_view labelText, std::string_view ownText) {
    std::string name(entry.name.empty() ? TrimEnd(labelText, true) : entry.name);
    const std::string_view text = entry.withText ? TrimEnd(ownText, false) : std::string_view();
    if (!text.empty()) {
        if (!name.empty()) name += ' ';
        name += text;
    }
    return name;
}

}  // namespace zembra

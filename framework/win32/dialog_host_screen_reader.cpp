// The dialog host for a screen reader: the names of the front end's table given to the controls
// once the dialog has started, given again when a text they are made of changes, and the live
// controls announced when they change or appear.
#include <algorithm>

#include "framework/win32/dialog_host.h"
#include "framework/win32/wide_text.h"

namespace zembra::win32 {
namespace {

std::wstring WithoutTrailing(std::wstring text, std::wstring_view characters) {
    const std::size_t end = text.find_last_not_of(characters);
    text.erase(end == std::wstring::npos ? 0 : end + 1);
    return text;
}

}  // namespace

void DialogHost::SetAccessibleNames(std::vector<AccessibleName> names) { m_accessibleNames = std::move(names); }

std::wstring DialogHost::AccessibleNameOf(int id) const {
    const auto entry = std::find_if(m_accessibleNames.begin(), m_accessibleNames.end(),
                                    [id](const AccessibleName& n) { return n.control == id; });
    if (entry == m_accessibleNames.end()) return {};
    std::wstring name =
        entry->name.empty() ? WithoutTrailing(Wide(GetItemText(entry->label)), L":\uFF1A ") : Wide(entry->name);
    if (entry->withText) {
        const std::wstring text = WithoutTrailing(Wide(GetItemText(id)), L" ");
        if (!text.empty()) name += L" " + text;
    }
    return name;
}

void DialogHost::NameForScreenReader(const AccessibleName& entry) {
    if (m_screenReader) m_screenReader->SetName(Item(entry.control), AccessibleNameOf(entry.control), entry.live);
}

void DialogHost::NameAllForScreenReader() {
    if (m_accessibleNames.empty()) return;
    if (!m_screenReader) m_screenReader = std::make_unique<ScreenReaderNames>();
    for (const AccessibleName& entry : m_accessibleNames) NameForScreenReader(entry);
}

void DialogHost::TextChangedForScreenReader(int id) {
    if (!m_screenReader) return;  // before the start the names come all at once
    for (const AccessibleName& entry : m_accessibleNames) {
        if ((entry.control == id && entry.withText) || entry.label == id) NameForScreenReader(entry);
        // A live text that empties has nothing to say.
        if (entry.control == id && entry.live && IsItemVisible(id) && GetWindowTextLengthW(Item(id)) > 0) {
            ScreenReaderNames::AnnounceChange(Item(id));
        }
    }
}

void DialogHost::ShownForScreenReader(int id) {
    if (!m_screenReader) return;
    for (const AccessibleName& entry : m_accessibleNames) {
        if (entry.control == id && entry.live) ScreenReaderNames::AnnounceChange(Item(id));
    }
}

void DialogHost::ClearForScreenReader() {
    if (!m_screenReader) return;
    for (const AccessibleName& entry : m_accessibleNames) m_screenReader->Clear(Item(entry.control));
    m_screenReader.reset();
}

}  // namespace zembra::win32

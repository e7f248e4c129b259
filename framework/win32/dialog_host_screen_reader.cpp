// The dialog host for a screen reader: the names of the front end's table given to the controls
// once the dialog has started, given again when a text they are made of changes, and the live
// controls announced when they change or appear.
#include <algorithm>

#include "framework/win32/dialog_host.h"
#include "framework/win32/wide_text.h"

namespace zembra::win32 {

void DialogHost::SetAccessibleNames(std::vector<AccessibleName> names) { m_accessibleNames = std::move(names); }

std::wstring DialogHost::AccessibleNameOf(int id) const {
    const auto entry = std::find_if(m_accessibleNames.begin(), m_accessibleNames.end(),
                                    [id](const AccessibleName& n) { return n.control == id; });
    if (entry == m_accessibleNames.end()) return {};
    const std::string label = entry->label != 0 ? GetItemText(entry->label) : std::string();
    return Wide(AccessibleNameText(*entry, label, GetItemText(id)));
}

void DialogHost::NameForScreenReader(const AccessibleName& entry) {
    if (m_screenReader) m_screenReader->SetName(WindowOf(entry.control), AccessibleNameOf(entry.control), entry.live);
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
        if (entry.control == id && entry.live && IsItemVisible(id) && GetWindowTextLengthW(WindowOf(id)) > 0) {
            ScreenReaderNames::AnnounceChange(WindowOf(id));
        }
    }
}

void DialogHost::ShownForScreenReader(int id) {
    if (!m_screenReader) return;
    for (const AccessibleName& entry : m_accessibleNames) {
        if (entry.control == id && entry.live) ScreenReaderNames::AnnounceChange(WindowOf(id));
    }
}

void DialogHost::ClearForScreenReader() {
    if (!m_screenReader) return;
    for (const AccessibleName& entry : m_accessibleNames) m_screenReader->Clear(WindowOf(entry.control));
    m_screenReader.reset();
}

}  // namespace zembra::win32

#include "framework/win32/dialog_resource.h"

namespace zembra::win32 {
namespace {

// Reads the template front to back; any read past the end marks it broken.
class TemplateReader {
public:
    explicit TemplateReader(std::span<const std::uint8_t> data) : m_data(data) {}

    bool Broken() const { return m_broken; }

    unsigned Word() {
        if (m_at + 2 > m_data.size()) return Fail();
        const unsigned value = m_data[m_at] | (static_cast<unsigned>(m_data[m_at + 1]) << 8);
        m_at += 2;
        return value;
    }
    std::uint32_t DoubleWord() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    int Short() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(Word())); }
    void Skip(std::size_t bytes) {
        if (m_at + bytes > m_data.size()) Fail();
        m_at += bytes;
    }
    void AlignToDoubleWord() { m_at = (m_at + 3) & ~std::size_t{3}; }

    std::wstring String() {
        std::wstring text;
        while (!m_broken) {
            const unsigned unit = Word();
            if (unit == 0) break;
            text.push_back(static_cast<wchar_t>(unit));
        }
        return text;
    }
    // A name or an ordinal: nothing (0), an ordinal (0xFFFF, then the number) or a string.
    void NameOrOrdinal(int& ordinal, std::wstring& name) {
        ordinal = 0;
        name.clear();
        const std::size_t start = m_at;
        const unsigned first = Word();
        if (first == 0) return;
        if (first == 0xFFFF) {
            ordinal = static_cast<int>(Word());
            return;
        }
        m_at = start;
        name = String();
    }

private:
    unsigned Fail() {
        m_broken = true;
        m_at = m_data.size();
        return 0;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_at = 0;
    bool m_broken = false;
};

DialogUnitRect ReadRect(TemplateReader& reader) {
    DialogUnitRect rect{};
    rect.x = reader.Short();
    rect.y = reader.Short();
    rect.width = reader.Short();
    rect.height = reader.Short();
    return rect;
}

}  // namespace

bool DialogItemResource::IsPicture() const {
    // The static class by its ordinal, or by name as some resource compilers keep it.
    const bool isStatic = classAtom == 0x82 || (classAtom == 0 && _wcsicmp(className.c_str(), L"Static") == 0);
    const DWORD type = style & SS_TYPEMASK;
    return isStatic && (type == SS_ICON || type == SS_BITMAP);
}

std::optional<DialogResource> ParseDialogTemplate(std::span<const std::uint8_t> data) {
    TemplateReader reader(data);
    if (reader.Word() != 1 || reader.Word() != 0xFFFF) return std::nullopt;  // not an extended template
    reader.Skip(8);                                                          // help id, extended style
    const std::uint32_t style = reader.DoubleWord();
    const unsigned count = reader.Word();
    DialogResource dialog;
    dialog.rect = ReadRect(reader);
    int ordinal = 0;
    std::wstring name;
    reader.NameOrOrdinal(ordinal, name);  // menu
    reader.NameOrOrdinal(ordinal, name);  // window class
    reader.String();                      // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.fontPoints = static_cast<int>(reader.Word());
        dialog.fontWeight = static_cast<int>(reader.Word());
        const unsigned italicAndCharSet = reader.Word();
        dialog.fontItalic = (italicAndCharSet & 0xFF) != 0;
        dialog.fontCharSet = static_cast<BYTE>(italicAndCharSet >> 8);
        dialog.fontFace = reader.String();
    }
    for (unsigned i = 0; i < count && !reader.Broken(); ++i) {
        reader.AlignToDoubleWord();
        reader.Skip(8);  // help id, extended style
        DialogItemResource item{};
        item.style = reader.DoubleWord();
        item.rect = ReadRect(reader);
        item.id = static_cast<int>(static_cast<std::int32_t>(reader.DoubleWord()));
        reader.NameOrOrdinal(item.classAtom, item.className);
        std::wstring title;
        reader.NameOrOrdinal(item.image, title);
        reader.Skip(reader.Word());  // creation data
        dialog.items.push_back(std::move(item));
    }
    if (reader.Broken()) return std::nullopt;
    return dialog;
}

std::optional<DialogResource> LoadDialogResource(HMODULE module, int id) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (resource == nullptr) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
    if (bytes == nullptr) return std::nullopt;
    return ParseDialogTemplate({bytes, SizeofResource(module, resource)});
}

}  // namespace zembra::win32

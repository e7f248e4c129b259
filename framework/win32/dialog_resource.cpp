#include "framework/win32/dialog_resource.h"

#include <cstring>

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
    std::size_t At() const { return m_at; }

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
        DialogItemResource item{};
        item.offset = reader.At();
        reader.Skip(4);  // help id
        item.exStyle = reader.DoubleWord();
        item.style = reader.DoubleWord();
        item.rect = ReadRect(reader);
        item.id = static_cast<int>(static_cast<std::int32_t>(reader.DoubleWord()));
        reader.NameOrOrdinal(item.classAtom, item.className);
        reader.NameOrOrdinal(item.image, item.title);
        item.imageInTitle = item.image != 0;
        const unsigned creationData = reader.Word();
        if (creationData == 2 && item.image == 0 && item.IsPicture()) {
            item.image = static_cast<int>(reader.Word());
        } else {
            reader.Skip(creationData);
        }
        item.length = reader.At() - item.offset;
        dialog.items.push_back(std::move(item));
    }
    if (reader.Broken()) return std::nullopt;
    return dialog;
}

std::wstring DialogItemResource::ClassName() const {
    static constexpr const wchar_t* kPredefined[] = {L"Button",  L"Edit",      L"Static",
                                                     L"ListBox", L"ScrollBar", L"ComboBox"};
    if (classAtom >= 0x80 && classAtom <= 0x85) return kPredefined[classAtom - 0x80];
    return className;
}

std::wstring DialogItemResource::WindowName() const { return imageInTitle ? L"#" + std::to_wstring(image) : title; }

std::vector<DWORD> TemplateWithItems(std::span<const std::uint8_t> data, const DialogResource& dialog,
                                     const std::vector<bool>& keep) {
    // The header is everything before the first item; each kept item starts on a double word.
    const std::size_t header = dialog.items.empty() ? data.size() : dialog.items.front().offset;
    std::vector<std::uint8_t> bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(header));
    unsigned count = 0;
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        if (i >= keep.size() || !keep[i]) continue;
        bytes.resize((bytes.size() + 3) & ~std::size_t{3}, 0);
        const DialogItemResource& item = dialog.items[i];
        bytes.insert(bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(item.offset),
                     data.begin() + static_cast<std::ptrdiff_t>(item.offset + item.length));
        ++count;
    }
    // The item count follows the version, signature, help id, extended style and style.
    constexpr std::size_t kCountOffset = 16;
    if (bytes.size() >= kCountOffset + 2) {
        bytes[kCountOffset] = static_cast<std::uint8_t>(count);
        bytes[kCountOffset + 1] = static_cast<std::uint8_t>(count >> 8);
    }
    std::vector<DWORD> aligned((bytes.size() + 3) / 4, 0);
    std::memcpy(aligned.data(), bytes.data(), bytes.size());
    return aligned;
}

std::span<const std::uint8_t> DialogResourceBytes(HMODULE module, int id) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (resource == nullptr) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
    if (bytes == nullptr) return {};
    return {bytes, SizeofResource(module, resource)};
}

std::optional<DialogResource> LoadDialogResource(HMODULE module, int id) {
    const std::span<const std::uint8_t> bytes = DialogResourceBytes(module, id);
    if (bytes.empty()) return std::nullopt;
    return ParseDialogTemplate(bytes);
}

}  // namespace zembra::win32

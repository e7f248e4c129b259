#include "framework/win32/dialog_init.h"

#include "framework/win32/wide_text.h"

namespace zembra::win32 {
namespace {

// The resource keeps the 16-bit message codes; these are their 32-bit equivalents.
constexpr unsigned kStoredListAddString = 0x0401;
constexpr unsigned kStoredComboAddString = 0x0403;

unsigned Read16(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<unsigned>(data[at] | (data[at + 1] << 8));
}

std::uint32_t Read32(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint32_t>(Read16(data, at)) | (static_cast<std::uint32_t>(Read16(data, at + 2)) << 16);
}

}  // namespace

std::vector<DialogInitRecord> ParseDialogInit(std::span<const std::uint8_t> data) {
    std::vector<DialogInitRecord> records;
    std::size_t at = 0;
    while (at + 8 <= data.size()) {
        const unsigned control = Read16(data, at);
        if (control == 0) break;
        const unsigned message = Read16(data, at + 2);
        const std::uint32_t length = Read32(data, at + 4);
        at += 8;
        if (length > data.size() - at) break;
        std::string text(reinterpret_cast<const char*>(data.data() + at), length);
        if (const auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
        records.push_back({static_cast<int>(control), message, std::move(text)});
        at += length;
    }
    return records;
}

std::vector<DialogInitRecord> LoadDialogInit(HMODULE module, int resourceId) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kDialogInitResourceType));
    if (resource == nullptr) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
    if (bytes == nullptr) return {};
    return ParseDialogInit({bytes, SizeofResource(module, resource)});
}

void ApplyDialogInit(HWND dialog, HMODULE module, int resourceId) {
    // The records of one control come together (a list's strings): its window is looked up once.
    int control = 0;
    HWND window = nullptr;
    for (const DialogInitRecord& record : LoadDialogInit(module, resourceId)) {
        UINT message = 0;
        if (record.message == kStoredComboAddString)
            message = CB_ADDSTRING;
        else if (record.message == kStoredListAddString)
            message = LB_ADDSTRING;
        else
            continue;
        const std::wstring text = Wide(record.text);
        if (window == nullptr || record.control != control) {
            control = record.control;
            window = GetDlgItem(dialog, control);
        }
        SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

}  // namespace zembra::win32

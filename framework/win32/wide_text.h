// The Win32 backend's only road between the program's GBK texts and the wide-character API:
// explicit code page 936, whatever the system's own code page is.
#pragma once

#include <string>
#include <string_view>

#include "framework/code_page.h"

namespace zembra::win32 {

inline std::wstring Wide(std::string_view gbk) {
    const std::u16string text = GbkToUtf16(gbk);
    return std::wstring(text.begin(), text.end());
}

// A character that has no GBK form becomes the byte 0xFF (see Utf16ToGbk).
inline std::string Gbk(std::wstring_view text) { return Utf16ToGbk(std::u16string(text.begin(), text.end())); }

}  // namespace zembra::win32

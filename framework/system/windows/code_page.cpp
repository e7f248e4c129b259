// GBK conversions through Windows' code page 936, whatever the system's own code page is.
#include <windows.h>

#include "framework/code_page.h"

namespace zembra {
namespace {

constexpr UINT kGbk = 936;

std::u16string MultiToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::u16string result(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, reinterpret_cast<wchar_t*>(result.data()), length);
    return result;
}

// One UTF-16 unit at a time, so that a character without a GBK form becomes 0xFF on its own and
// the rest of the text converts normally (no best-fit guesses such as 'a' for an accented a).
std::string WideToGbk(std::u16string_view text) {
    std::string result;
    result.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int units = (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) ? 2 : 1;
        char bytes[8];
        BOOL usedDefault = FALSE;
        const int written = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(&text[i]),
                                                units, bytes, sizeof bytes, nullptr, &usedDefault);
        if (written <= 0 || usedDefault) {
            result.append(static_cast<std::size_t>(units), kNoGbkForm);
        } else {
            result.append(bytes, static_cast<std::size_t>(written));
        }
        i += static_cast<std::size_t>(units - 1);
    }
    return result;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) { return MultiToWide(kGbk, gbk); }

std::string GbkToUtf8(std::string_view gbk) {
    const std::u16string wide = GbkToUtf16(gbk);
    if (wide.empty()) return {};
    const auto* data = reinterpret_cast<const wchar_t*>(wide.data());
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, data, size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, data, size, result.data(), length, nullptr, nullptr);
    return result;
}

// The program's texts are written to standard output as they are; a console on a Chinese system
// shows them in its own code page, GBK.
std::string GbkForStandardOutput(std::string_view gbk) { return std::string(gbk); }

std::string Utf16ToGbk(std::u16string_view text) { return WideToGbk(text); }

std::string Utf8ToGbk(std::string_view utf8) { return WideToGbk(MultiToWide(CP_UTF8, utf8)); }

}  // namespace zembra

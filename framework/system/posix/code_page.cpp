// GBK conversions through the C library's iconv.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <type_traits>

#include "framework/code_page.h"

namespace zembra {
namespace {

// Converts with iconv, replacing every sequence iconv rejects by `replacement` and going on.
template <typename Out>
Out Convert(const char* to, const char* from, const char* in, std::size_t inBytes, std::size_t unit,
            const Out& replacement) {
    Out result;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return result;
    char buffer[1024];
    char* input = const_cast<char*>(in);
    while (inBytes > 0) {
        char* output = buffer;
        std::size_t room = sizeof buffer;
        std::size_t status = iconv(cd, &input, &inBytes, &output, &room);
        const auto written = static_cast<std::size_t>(output - buffer);
        result.append(reinterpret_cast<const typename Out::value_type*>(buffer),
                      written / sizeof(typename Out::value_type));
        if (status == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ, or EINVAL for a truncated sequence at the end: skip one input unit.
            result += replacement;
            const std::size_t skip = inBytes < unit ? inBytes : unit;
            input += skip;
            inBytes -= skip;
        }
    }
    iconv_close(cd);
    return result;
}

// A text of ASCII alone (every number, most answers, the empty text) is the same characters in
// each of these encodings: it is copied, without opening a converter, which costs more than the
// copy many times over.
template <typename Out, typename Char>
std::optional<Out> AsAscii(std::basic_string_view<Char> in) {
    using Unit = std::make_unsigned_t<Char>;
    if (!std::all_of(in.begin(), in.end(), [](Char c) { return static_cast<Unit>(c) < 0x80; })) return std::nullopt;
    return Out(in.begin(), in.end());
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    if (auto ascii = AsAscii<std::u16string>(gbk)) return *std::move(ascii);
    return Convert<std::u16string>("UTF-16LE", "GBK", gbk.data(), gbk.size(), 1, u"\uFFFD");
}

std::string GbkToUtf8(std::string_view gbk) {
    if (auto ascii = AsAscii<std::string>(gbk)) return *std::move(ascii);
    return Convert<std::string>("UTF-8", "GBK", gbk.data(), gbk.size(), 1, "\xEF\xBF\xBD");
}

std::string GbkForStandardOutput(std::string_view gbk) { return GbkToUtf8(gbk); }

std::string Utf16ToGbk(std::u16string_view text) {
    if (auto ascii = AsAscii<std::string>(text)) return *std::move(ascii);
    // A lone surrogate or an unmappable character: one 0xFF per UTF-16 unit skipped.
    return Convert<std::string>("GBK", "UTF-16LE", reinterpret_cast<const char*>(text.data()),
                                text.size() * sizeof(char16_t), sizeof(char16_t), std::string(1, kNoGbkForm));
}

std::string Utf8ToGbk(std::string_view utf8) {
    // Through UTF-16, as on Windows, so that a character without a GBK form gives the same bytes
    // on every platform (one 0xFF per UTF-16 unit, not one per UTF-8 byte).
    if (auto ascii = AsAscii<std::string>(utf8)) return *std::move(ascii);
    return Utf16ToGbk(Convert<std::u16string>("UTF-16LE", "UTF-8", utf8.data(), utf8.size(), 1, u"\uFFFD"));
}

}  // namespace zembra

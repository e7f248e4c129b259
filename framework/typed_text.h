// How a typed GBK text is read when it is compared with a stored one: what a Chinese input method
// types in place of ASCII reads as that ASCII, and the spaces typed before and after the text are
// not part of it. A few marks are read by their structure: an ellipsis in any of its forms, the
// spaces around "/", the dots of a capital abbreviation. Nothing else is forgiven: letter case,
// spelling and the other spaces inside the text stay exact.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zembra {

// A text as it reads: one code per character. ASCII and a byte that is not GBK are their own value,
// a character read as ASCII is that ASCII, any other two-byte character is both its bytes above
// 0xFFFF, and an ellipsis is kEllipsisMark.
struct TypedReading {
    static constexpr std::size_t kCapacity = 160;
    std::array<std::int32_t, kCapacity> codes;
    std::size_t size = 0;
};

constexpr std::int32_t kEllipsisMark = -1;

// Reads a GBK text. Read as ASCII are the full-width letters, digits and punctuation
// (U+FF01..U+FF5E), the ideographic space, the curly quotes and the ideographic full stop; dropped
// are ASCII spaces, tabs and ideographic spaces at either end. One mark, with the spaces around it,
// is an ellipsis: three or more dots ("...", ". . .", 。。。) or … or ……. The spaces around "/"
// are dropped. The dots between single capitals are dropped (U.S.A. reads as USA). A byte
// 0x81..0xFE takes the next byte with it, so the second byte of a character is never read on its
// own; a byte that is not GBK (0xFF, a lead byte at the end) is read as itself. False when the text
// is longer than a reading holds (no answer is). Allocates nothing.
bool ReadTypedText(std::string_view text, TypedReading& reading);

// Whether two GBK texts read the same (ReadTypedText). Allocates nothing.
bool SameTypedText(std::string_view first, std::string_view second);

// The ASCII character that the two-byte GBK character lead, trail reads as (a full-width form, the
// ideographic space, a curly quote, 。), or -1.
int AsciiReadingOf(unsigned char lead, unsigned char trail);

}  // namespace zembra

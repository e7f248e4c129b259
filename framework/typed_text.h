// How a typed GBK text is read when it is compared with a stored one: what a Chinese input method
// types in place of ASCII reads as that ASCII, and the spaces typed before and after the text are
// not part of it. Nothing else is forgiven: letter case, spelling and the spaces inside the text
// stay exact.
#pragma once

#include <string_view>

namespace zembra {

// Whether two GBK texts read the same. Read as ASCII are the full-width letters, digits and
// punctuation (U+FF01..U+FF5E), the ideographic space, the curly quotes and the ideographic full
// stop; dropped are ASCII spaces, tabs and ideographic spaces at either end. A byte 0x81..0xFE
// takes the next byte with it, so the second byte of a character is never read on its own; a
// byte that is not GBK (0xFF, a lead byte at the end) is compared as itself. Allocates nothing.
bool SameTypedText(std::string_view first, std::string_view second);

// The ASCII character that the two-byte GBK character lead, trail reads as in SameTypedText (a
// full-width form, the ideographic space, a curly quote, 。), or -1.
int AsciiReadingOf(unsigned char lead, unsigned char trail);

}  // namespace zembra

// A printf-style text as a string, for the dialog's messages and diagnostic lines (GBK formats, whose
// arguments the compiler checks at every call).
#pragma once

#include <cstdarg>
#include <string>

namespace zembra {

[[gnu::format(printf, 1, 2)]] std::string Formatted(const char* format, ...);
[[gnu::format(printf, 1, 0)]] std::string FormattedList(const char* format, va_list arguments);

}  // namespace zembra

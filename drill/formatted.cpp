#include "drill/formatted.h"

#include <cstdio>

namespace zembra {

std::string FormattedList(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

std::string Formatted(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = FormattedList(format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace zembra

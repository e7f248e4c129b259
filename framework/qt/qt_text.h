// GBK texts to and from the UTF-16 of the widgets: the only place the Qt backend converts.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "framework/code_page.h"

namespace zembra {

inline QString ToQString(std::string_view gbk) {
    const std::u16string text = GbkToUtf16(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToGbk(const QString& text) {
    return Utf16ToGbk(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace zembra

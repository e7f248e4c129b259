// Whether a typed answer is right for a row of the word bank.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zembra {

// Right when the typed GBK text reads the same as the row's answer or as one of its further right
// answers (SameTypedText, framework/typed_text.h: full-width forms read as ASCII, spaces at the
// ends dropped). Allocates nothing.
bool IsRightAnswer(std::string_view typed, std::string_view answer, std::span<const std::string> also);

}  // namespace zembra

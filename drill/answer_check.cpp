#include "drill/answer_check.h"

#include <algorithm>

#include "framework/typed_text.h"

namespace zembra {

bool IsRightAnswer(std::string_view typed, std::string_view answer, std::span<const std::string> also) {
    return SameTypedText(typed, answer) || std::any_of(also.begin(), also.end(), [typed](const std::string& text) {
               return SameTypedText(typed, text);
           });
}

}  // namespace zembra

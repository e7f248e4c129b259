// The main dialog for a screen reader: names for the controls that show no text of their own or
// whose text alone says too little, so that the drill can be followed without seeing it.
#pragma once

#include <vector>

#include "framework/accessible_name.h"
#include "ui/control_ids.h"
#include "ui/poster.h"

namespace zembra {

namespace accessible_texts {
inline constexpr char kAnswer[] = "\xB4\xF0\xB0\xB8";                          // 答案
inline constexpr char kFilter[] = "\xC9\xB8\xD1\xA1";                          // 筛选
inline constexpr char kRight[] = "\xB4\xF0\xB6\xD4\xC1\xCB";                   // 答对了
inline constexpr char kWrong[] = "\xB4\xF0\xB4\xED\xC1\xCB";                   // 答错了
inline constexpr char kResult[] = "\xBD\xE1\xB9\xFB";                          // 结果
inline constexpr char kPoster[] = "\xB2\xBC\xB8\xE6\xC0\xB8\xBA\xA3\xB1\xA8";  // 布告栏海报
}  // namespace accessible_texts

// The answer box, the filter, the two marks and the result line (both announced as they come),
// the counters read with their labels ("总计 1754", "掌握 3"), and the posters.
inline std::vector<AccessibleName> MainDialogAccessibleNames() {
    namespace t = accessible_texts;
    std::vector<AccessibleName> names{
        {ids::kAnswerBox, t::kAnswer},
        {ids::kCategoryCombo, t::kFilter},
        {ids::kRightMark, t::kRight, 0, false, true},
        {ids::kWrongMark, t::kWrong, 0, false, true},
        {ids::kResultLine, t::kResult, 0, true, true},
        {ids::kTotalCount, "", ids::kTotalLabel, true},
        {ids::kMasteredCount, "", ids::kMasteredLabel, true},
    };
    for (const Poster& poster : kPosterOrder) names.push_back({poster.control, t::kPoster});
    return names;
}

}  // namespace zembra

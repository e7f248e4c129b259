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
inline constexpr char kListen[] = "\xCC\xFD\xD2\xBB\xCC\xFD";                  // 听一听
inline constexpr char kDictation[] = "\xCC\xFD\xD0\xB4";                       // 听写
inline constexpr char kDictationHelp[] =
    "\xCF\xC8\xB6\xC1\xB3\xF6\xD3\xA2\xD3\xEF\xA3\xAC\xB2\xBB\xCF\xD4\xCA\xBE\xD6\xD0\xCE\xC4\xCC\xE1\xCA\xBE";  // 先读出英语，不显示中文提示
inline constexpr char kListenHelp[] = "\xD3\xC3\xD3\xA2\xD3\xEF\xB6\xC1\xB3\xF6\xB4\xF0\xB0\xB8";  // 用英语读出答案
inline constexpr char kAnswerHelp[] =
    "\xCA\xE4\xC8\xEB\xD3\xA2\xCE\xC4\xB4\xF0\xB0\xB8\xA3\xAC\xB0\xB4\xBB\xD8\xB3\xB5\xBC\xFC\xCC\xE1\xBD\xBB";  // 输入英文答案，按回车键提交
inline constexpr char kFilterHelp[] =
    "\xD1\xA1\xD4\xF1\xD2\xAA\xC1\xB7\xCF\xB0\xB5\xC4\xC0\xE0\xB1\xF0";  // 选择要练习的类别
inline constexpr char kTotalHelp[] =
    "\xCB\xF9\xD1\xA1\xC0\xE0\xB1\xF0\xB5\xC4\xCC\xE2\xC4\xBF\xD7\xDC\xCA\xFD";  // 所选类别的题目总数
inline constexpr char kMasteredHelp[] =
    "\xC6\xE4\xD6\xD0\xD2\xD1\xD5\xC6\xCE\xD5\xB5\xC4\xCC\xE2\xC4\xBF\xCA\xFD";  // 其中已掌握的题目数
inline constexpr char kImportList[] = "\xB5\xBC\xC8\xEB\xB4\xCA\xB1\xED";        // 导入词表
inline constexpr char kImportListHelp[] =
    "\xB4\xD3\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE\xB5\xBC\xC8\xEB\xD7\xD4\xBC\xBA\xB5\xC4\xB5\xA5\xB4\xCA\xB1\xED";  // 从文本文件导入自己的单词表
inline constexpr char kRemoveList[] = "\xC9\xBE\xB3\xFD\xB4\xCA\xB1\xED";  // 删除词表
inline constexpr char kRemoveListHelp[] =
    "\xC9\xBE\xB3\xFD\xCB\xF9\xD1\xA1\xB5\xC4\xB4\xCA\xB1\xED\xBA\xCD\xCB\xFC\xB5\xC4\xC1\xB7\xCF\xB0\xBC\xC7\xC2"
    "\xBC";  // 删除所选的词表和它的练习记录
}  // namespace accessible_texts

// The answer box, the filter (labelled by its caption), the two marks and the result line (both
// announced as they come), 听一听 (without its access key), the counters read with their labels
// ("总计 1754", "掌握 3"), and the posters; what the answer box, the filter, 听一听, 听写, the two
// word-list commands (both without their access keys) and the counters are for.
inline std::vector<AccessibleName> MainDialogAccessibleNames() {
    namespace t = accessible_texts;
    std::vector<AccessibleName> names{
        {ids::kAnswerBox, t::kAnswer, 0, false, false, t::kAnswerHelp},
        {ids::kCategoryCombo, t::kFilter, ids::kFilterLabel, false, false, t::kFilterHelp},
        {ids::kRightMark, t::kRight, 0, false, true},
        {ids::kWrongMark, t::kWrong, 0, false, true},
        {ids::kResultLine, t::kResult, 0, true, true},
        {ids::kListen, t::kListen, 0, false, false, t::kListenHelp},
        {ids::kDictation, t::kDictation, 0, false, false, t::kDictationHelp},
        {ids::kImportList, t::kImportList, 0, false, false, t::kImportListHelp},
        {ids::kRemoveList, t::kRemoveList, 0, false, false, t::kRemoveListHelp},
        {ids::kTotalCount, "", ids::kTotalLabel, true, false, t::kTotalHelp},
        {ids::kMasteredCount, "", ids::kMasteredLabel, true, false, t::kMasteredHelp},
    };
    for (const Poster& poster : kPosterOrder) names.push_back({poster.control, t::kPoster});
    return names;
}

}  // namespace zembra

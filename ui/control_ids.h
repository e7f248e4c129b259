// Control ids of dialog template 102 and the resource ids the dialog uses; the template table
// (ui/main_dialog_template.cpp) names every control by these.
#pragma once

namespace zembra::ids {

constexpr int kDialog = 102;  // the template, and its initialisation data

constexpr int kCategoryCaption = 1001;
constexpr int kPromptLine = 1002;
constexpr int kAnswerHolder = 1003;      // hidden; holds the asked row's answer
constexpr int kLastLetterStatic = 1034;  // 1003..1034: hidden letter statics
constexpr int kAnswerBox = 1035;
constexpr int kLastAnswerEdit = 1066;  // 1035..1066: answer edits, only 1035 is ever shown
constexpr int kDrillFrame = 1067;
constexpr int kSubmit = 1068;
constexpr int kRetry = 1069;
constexpr int kNext = 1070;
constexpr int kResultLine = 1073;
constexpr int kRightMark = 1074;
constexpr int kWrongMark = 1075;
constexpr int kNoticeBoardCaption = 1078;
constexpr int kTotalCount = 1079;
constexpr int kMasteredCount = 1080;
constexpr int kTotalLabel = 1081;
constexpr int kMasteredLabel = 1082;
constexpr int kResetAll = 1084;
constexpr int kListen = 1085;  // 听一听: says the checked answer again
constexpr int kCategoryCombo = 1102;
constexpr int kFilterLabel = 1103;
constexpr int kDictation = 1104;   // 听写: each row is said, its prompt kept back until submitted
constexpr int kImportList = 1105;  // 导入词表…: a pupil's own word list becomes a filter entry
constexpr int kRemoveList = 1106;  // 删除词表: removes the chosen list

constexpr int kLetterStaticCount = kLastLetterStatic - kAnswerHolder + 1;  // 32
constexpr int kAnswerEditCount = kLastAnswerEdit - kAnswerBox + 1;         // 32

// Icons; the posters' bitmaps are in the poster table (ui/poster.h).
constexpr int kAppIcon = 128;
constexpr int kTickIcon = 133;
constexpr int kCrossIcon = 134;

}  // namespace zembra::ids

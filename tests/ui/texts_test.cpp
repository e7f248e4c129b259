// The program's own GBK texts say what their UTF-8 comments say.
#include <gtest/gtest.h>

#include "framework/code_page.h"
#include "ui/accessible_names.h"
#include "ui/texts.h"

namespace zembra {
namespace {

struct TextCase {
    const char* gbk;
    const char* utf8;
};

class OwnTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(OwnTexts, AreTheGbkFormOfTheirWording) {
    EXPECT_EQ(GbkToUtf8(GetParam().gbk), GetParam().utf8);
    EXPECT_EQ(Utf8ToGbk(GetParam().utf8), GetParam().gbk);
}

namespace t = texts;
INSTANTIATE_TEST_SUITE_P(
    All, OwnTexts,
    ::testing::Values(
        TextCase{t::kTitle, "Zembra—小学英语词汇大全"}, TextCase{t::kDialogFace, "微软雅黑"},
        TextCase{t::kSongFace, "宋体"}, TextCase{t::kCaptionPlaceholder, "水调歌头"},
        TextCase{t::kLetterPlaceholder, "宋"}, TextCase{t::kNextText, "下一题"}, TextCase{t::kSubmitText, "提交"},
        TextCase{t::kRetryText, "重写"}, TextCase{t::kNoticeBoardText, "布告栏"}, TextCase{t::kTotalLabel, "总计:"},
        TextCase{t::kMasteredLabel, "掌握:"}, TextCase{t::kResetAllText, "再来一遍"},
        TextCase{t::kFilterLabel, "筛选:"}, TextCase{t::kAllCategories, "全选"}, TextCase{t::kMissedWords, "错题"},
        TextCase{t::kCongratulationsAll, "恭喜，你已经掌握了所有内容！"},
        TextCase{t::kCongratulationsPrefix, "恭喜，你已经掌握了所有的"}, TextCase{t::kCongratulationsSuffix, "！"},
        TextCase{t::kRetryRefused, "已提交不能重新作答！"}, TextCase{t::kRetryRefusedCaption, "温馨提示"},
        TextCase{t::kResetQuestion, "确定要重新练习所有内容吗？"}, TextCase{t::kResetQuestionCaption, "操作确认"},
        TextCase{t::kOpenFailed, "打开文件失败。\n"}, TextCase{t::kSelectionFormat, "%d:%s→%s; crtRsl=%s.\n"},
        TextCase{t::kListenText, "听一听(&L)"}, TextCase{t::kNoEnglishVoice, "本机没有英语语音"},
        TextCase{t::kNoEnglishVoiceFormat, "本机没有英语语音：%s\n"}, TextCase{t::kReview, "复习"},
        TextCase{t::kReviewDone, "恭喜，今天要复习的词都复习完了！"},
        TextCase{t::kReviewDueFormat, "今天有 %d 个词要复习：选“复习”。"}, TextCase{t::kDictationText, "听写(&D)"},
        TextCase{t::kListenForTheWord, "请听读音，写出英语"}, TextCase{t::kMissTypedPrefix, "答错了。你写的是 "},
        TextCase{t::kMissAnswerPrefix, "，正确的是 "}, TextCase{t::kMissArrow, " → "}));

INSTANTIATE_TEST_SUITE_P(
    WordLists, OwnTexts,
    ::testing::Values(
        TextCase{t::kImportListText, "导入词表(&I)…"}, TextCase{t::kRemoveListText, "删除词表(&R)"},
        TextCase{t::kImportListTitle, "导入词表"}, TextCase{t::kListFileFilter, "词表文件"},
        TextCase{t::kListCongratulationsPrefix, "恭喜，你已经掌握了"}, TextCase{t::kImportedFormat, "导入了 %d 个词。"},
        TextCase{t::kLinesLeftOutFormat, "\n有 %d 行没有导入："}, TextCase{t::kLineProblemFormat, "\n第 %d 行：%s"},
        TextCase{t::kMoreLinesFormat, "\n……还有 %d 行。"}, TextCase{t::kLineNoEnglish, "没有英语"},
        TextCase{t::kLineNoChinese, "没有中文"}, TextCase{t::kLineNoGbkForm, "有显示不了的字"},
        TextCase{t::kLineTooLong, "太长"}, TextCase{t::kLinePastRowLimit, "超过了 1800 个词"},
        TextCase{t::kListRefusedFormat, "这个文件没有导入：%s。"}, TextCase{t::kListTooLarge, "它超过了 1 MB"},
        TextCase{t::kListNotText, "它不是文本文件"}, TextCase{t::kListNoRows, "里面没有一行是“英语 中文”这样的词"},
        TextCase{t::kListUnreadable, "它读不出来"},
        TextCase{t::kListNotStored, "词表存不进数据文件夹（磁盘满了，或没有权限）"},
        TextCase{t::kRemoveListQuestionFormat, "要删除词表“%s”吗？它的练习记录也会一起删除。"},
        TextCase{t::kRemoveListTitle, "删除词表"},
        TextCase{t::kListNotRemoved, "这个词表删除不了（也许它的文件正被别的程序使用）。"}));

INSTANTIATE_TEST_SUITE_P(
    ProgressFaults, OwnTexts,
    ::testing::Values(
        TextCase{t::kNotAFile, "进度文件不是普通文件（也许是管道或设备），不读取，也不覆盖。\n"},
        TextCase{t::kLockFailedFormat, "无法给进度文件加锁：%s；两个同时运行的 Zembra 保存时会合并进度。\n"},
        TextCase{t::kSaveFailedQuestionFormat, "进度没有保存：%s。\n\n点“是”重试，点“否”不保存退出。"},
        TextCase{t::kUnsafeFolderMessage,
                 "Zembra 的数据文件夹不安全：它不属于当前用户，或者别的用户也能改写它。为了保护孩子的记录，"
                 "这次练习的进度不会保存。\n请家长按说明书（README）中“进度文件”一节修好它，例如：chmod 700 "
                 "这个文件夹。"},
        TextCase{t::kReasonNotWritten, "写不进进度文件（磁盘满了、没有权限，或文件是只读的）"}));

namespace a = accessible_texts;
INSTANTIATE_TEST_SUITE_P(
    ForAScreenReader, OwnTexts,
    ::testing::Values(TextCase{a::kAnswer, "答案"}, TextCase{a::kFilter, "筛选"}, TextCase{a::kRight, "答对了"},
                      TextCase{a::kWrong, "答错了"}, TextCase{a::kResult, "结果"}, TextCase{a::kPoster, "布告栏海报"},
                      TextCase{a::kAnswerHelp, "输入英文答案，按回车键提交"},
                      TextCase{a::kFilterHelp, "选择要练习的类别"}, TextCase{a::kTotalHelp, "所选类别的题目总数"},
                      TextCase{a::kMasteredHelp, "其中已掌握的题目数"}, TextCase{a::kListen, "听一听"},
                      TextCase{a::kListenHelp, "用英语读出答案"}, TextCase{a::kImportList, "导入词表"},
                      TextCase{a::kImportListHelp, "从文本文件导入自己的单词表"}, TextCase{a::kRemoveList, "删除词表"},
                      TextCase{a::kRemoveListHelp, "删除所选的词表和它的练习记录"}));

}  // namespace
}  // namespace zembra

// The names a screen reader says, made from a fixed name or a label's text and the control's own.
#include <gtest/gtest.h>

#include <cctype>

#include "framework/accessible_name.h"
#include "framework/code_page.h"

namespace zembra {
namespace {

struct NameCase {
    const char* what;
    AccessibleName entry;
    const char* label;  // UTF-8
    const char* own;
    const char* said;
};

class AccessibleNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(AccessibleNames, AreMadeOfTheTextsTheEntryNames) {
    const NameCase& c = GetParam();
    EXPECT_EQ(GbkToUtf8(AccessibleNameText(c.entry, Utf8ToGbk(c.label), Utf8ToGbk(c.own))), c.said);
}

const std::string kAnswer = Utf8ToGbk("答案");
const std::string kResult = Utf8ToGbk("结果");

INSTANTIATE_TEST_SUITE_P(
    All, AccessibleNames,
    ::testing::Values(NameCase{"a fixed name alone", {1, kAnswer}, "", "typed", "答案"},
                      NameCase{"a label and the number", {1, "", 2, true}, "总计:", "1754", "总计 1754"},
                      NameCase{"a full-width colon and spaces", {1, "", 2, true}, "掌握： ", "3", "掌握 3"},
                      NameCase{"a label alone", {1, "", 2}, "筛选:", "全选", "筛选"},
                      NameCase{"a fixed name before a label", {1, kAnswer, 2, true}, "总计:", "x", "答案 x"},
                      NameCase{
                          "the text without its trailing spaces", {1, kResult, 0, true}, "", "ruler  ", "结果 ruler"},
                      NameCase{"no text, the name alone", {1, kResult, 0, true}, "", "  ", "结果"},
                      NameCase{"a label ending in the colon's last byte", {1, "", 2, true}, "立春", "1", "立春 1"}),
    [](const ::testing::TestParamInfo<NameCase>& param) {
        std::string name;
        for (const char* c = param.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

}  // namespace
}  // namespace zembra

// Template 102 as data: what both backends build the window from.
#include <gtest/gtest.h>

#include <set>

#include "framework/code_page.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"
#include "ui/poster.h"

namespace zembra {
namespace {

std::string U(std::string_view gbk) { return GbkToUtf8(gbk); }

TEST(DialogTemplate, WindowProperties) {
    const DialogTemplate& t = MainDialogTemplate();
    EXPECT_EQ(t.resourceId, 102);
    EXPECT_EQ(U(t.title), "Zembra—小学英语词汇大全");
    EXPECT_EQ(t.title.substr(6, 2), "\xA1\xAA");  // the em dash
    EXPECT_EQ(t.width, 478);
    EXPECT_EQ(t.height, 218);
    EXPECT_EQ(U(t.fontFace), "微软雅黑");
    EXPECT_EQ(t.fontPoints, 9);
    ASSERT_EQ(t.controls.size(), 104u);
}

TEST(DialogTemplate, ControlOrderIsTheTabAndZOrder) {
    std::vector<int> order;
    for (const ControlTemplate& c : MainDialogTemplate().controls) order.push_back(c.id);
    std::vector<int> expected{1001, 1070, -1, 1067, -1, -1};
    for (int id = 1003; id <= 1066; ++id) expected.push_back(id);
    for (int id : {1068, 1069, 1073, 1085, 1074, 1075, 1078, 1081, 1079, 1082, 1080, 1084, 1002})
        expected.push_back(id);
    for (const Poster& p : kPosterOrder) expected.push_back(p.control);
    expected.push_back(1102);
    expected.push_back(1103);
    for (int id : {1104, 1105, 1106}) expected.push_back(id);
    EXPECT_EQ(order, expected);
}

TEST(DialogTemplate, TabStopsGroupsAndVisibility) {
    std::set<int> tabStops, hidden;
    for (const ControlTemplate& c : MainDialogTemplate().controls) {
        if (c.tabStop) tabStops.insert(c.id);
        if (!c.visible) hidden.insert(c.id);
        EXPECT_EQ(c.Group(), c.kind == ControlKind::TextStatic) << c.id;
    }
    std::set<int> expectedTabStops{1070, 1068};
    for (int id = 1036; id <= 1066; ++id) expectedTabStops.insert(id);
    EXPECT_EQ(tabStops, expectedTabStops);
    std::set<int> expectedHidden{1074, 1075};
    for (int id = 1003; id <= 1066; ++id) expectedHidden.insert(id);
    EXPECT_EQ(hidden, expectedHidden);
}

struct ControlCase {
    int id;
    ControlKind kind;
    const char* text;
    DialogRect rect;
    FontRole font;
};

class TemplateControls : public ::testing::TestWithParam<ControlCase> {};

TEST_P(TemplateControls, AsLaidOut) {
    const ControlCase& c = GetParam();
    const ControlTemplate* t = MainDialogTemplate().Find(c.id);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->kind, c.kind);
    EXPECT_EQ(U(t->text), c.text);
    EXPECT_EQ(t->rect.x, c.rect.x);
    EXPECT_EQ(t->rect.y, c.rect.y);
    EXPECT_EQ(t->rect.width, c.rect.width);
    EXPECT_EQ(t->rect.height, c.rect.height);
    EXPECT_EQ(FontRoleOf(c.id), c.font);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, TemplateControls,
    ::testing::Values(ControlCase{1001, ControlKind::TextStatic, "水调歌头", {25, 11, 281, 13}, FontRole::Song18},
                      ControlCase{1070, ControlKind::PushButton, "下一题", {257, 197, 53, 14}, FontRole::Song12},
                      ControlCase{1067, ControlKind::GroupBox, "", {2, 3, 318, 212}, FontRole::Dialog},
                      ControlCase{1003, ControlKind::TextStatic, "宋", {26, 141, 26, 8}, FontRole::Song12},
                      ControlCase{1034, ControlKind::TextStatic, "宋", {218, 123, 8, 8}, FontRole::Song12},
                      ControlCase{1035, ControlKind::Edit, "", {100, 50, 134, 12}, FontRole::Song12},
                      ControlCase{1066, ControlKind::Edit, "", {251, 136, 40, 14}, FontRole::Song12},
                      ControlCase{1068, ControlKind::DefaultPushButton, "提交", {221, 197, 31, 14}, FontRole::Song12},
                      ControlCase{1069, ControlKind::PushButton, "重写", {185, 197, 31, 14}, FontRole::Song12},
                      ControlCase{1073, ControlKind::TextStatic, "", {15, 110, 300, 20}, FontRole::Song18},
                      ControlCase{1085, ControlKind::PushButton, "听一听(&L)", {139, 132, 52, 14}, FontRole::Song12},
                      ControlCase{1074, ControlKind::IconStatic, "", {285, 92, 20, 20}, FontRole::Dialog},
                      ControlCase{1078, ControlKind::TextStatic, "布告栏", {372, 11, 51, 13}, FontRole::Song18},
                      ControlCase{1081, ControlKind::TextStatic, "总计:", {329, 27, 24, 8}, FontRole::Song12},
                      ControlCase{1079, ControlKind::TextStatic, "Static", {353, 27, 19, 8}, FontRole::Song12},
                      ControlCase{1080, ControlKind::TextStatic, "Static", {402, 27, 25, 8}, FontRole::Song12},
                      ControlCase{1084, ControlKind::PushButton, "再来一遍", {433, 26, 36, 11}, FontRole::Dialog},
                      ControlCase{1098, ControlKind::BitmapStatic, "", {327, 45, 143, 167}, FontRole::Dialog},
                      ControlCase{1102, ControlKind::DropDownCombo, "", {39, 199, 64, 76}, FontRole::Dialog},
                      ControlCase{1103, ControlKind::TextStatic, "筛选:", {6, 201, 28, 8}, FontRole::Song12},
                      ControlCase{1105, ControlKind::PushButton, "导入词表(&I)…", {324, 10, 47, 12}, FontRole::Dialog},
                      ControlCase{1106, ControlKind::PushButton, "删除词表(&R)", {425, 10, 47, 12}, FontRole::Dialog}),
    [](const auto& test) { return "id_" + std::to_string(test.param.id); });

TEST(DialogTemplate, EveryAnswerEditScrolls) {
    // The answer box scrolls so that the longest answers can be typed in full.
    for (int id = ids::kAnswerBox; id <= ids::kLastAnswerEdit; ++id) {
        const ControlTemplate* t = MainDialogTemplate().Find(id);
        EXPECT_TRUE(t->autoHScroll && t->border) << id;
        EXPECT_EQ(t->align, id == ids::kAnswerBox ? Align::Centre : Align::Left) << id;
    }
}

TEST(DialogTemplate, ImagesOfIconsAndPosters) {
    EXPECT_EQ(MainDialogTemplate().Find(1074)->image, 133);
    EXPECT_EQ(MainDialogTemplate().Find(1075)->image, 134);
    std::set<int> bitmaps;
    for (const Poster& p : kPosterOrder) {
        EXPECT_EQ(MainDialogTemplate().Find(p.control)->image, p.bitmap);
        bitmaps.insert(p.bitmap);
    }
    EXPECT_EQ(bitmaps.size(), 16u);
    EXPECT_EQ(*bitmaps.begin(), 139);
    EXPECT_EQ(*bitmaps.rbegin(), 154);
}

TEST(DialogTemplate, ComboListInItsUnsortedOrder) {
    std::vector<std::string> entries;
    for (std::string_view e : CategoryComboEntries()) entries.push_back(U(e));
    EXPECT_EQ(entries, (std::vector<std::string>{"全选", "单词", "常用短语", "第三人称单数", "过去式", "介词短语",
                                                 "名词复数", "缩写", "特殊疑问词", "现在分词", "形容词→副词", "比较级",
                                                 "最高级", "错题", "复习"}));
}

struct PosterCase {
    std::int32_t counter;
    int control;
    int bitmap;
};

class PosterChoice : public ::testing::TestWithParam<PosterCase> {};

TEST_P(PosterChoice, FromTheRunCounter) {
    EXPECT_EQ(ChoosePoster(GetParam().counter).control, GetParam().control);
    EXPECT_EQ(ChoosePoster(GetParam().counter).bitmap, GetParam().bitmap);
}

INSTANTIATE_TEST_SUITE_P(Counters, PosterChoice,
                         ::testing::Values(PosterCase{1, 1086, 154}, PosterCase{9, 1086, 154}, PosterCase{0, 1086, 154},
                                           PosterCase{-5, 1086, 154}, PosterCase{INT32_MIN, 1086, 154},
                                           PosterCase{10, 1096, 148}, PosterCase{15, 1101, 153},
                                           PosterCase{16, 1086, 154}, PosterCase{17, 1095, 139},
                                           PosterCase{18, 1087, 140}, PosterCase{25, 1094, 147},
                                           PosterCase{26, 1096, 148}, PosterCase{32, 1086, 154},
                                           PosterCase{INT32_MAX, 1101, 153}));

TEST(PosterChoice, BitmapFollowsTheCounterWithPeriodSixteen) {
    for (std::int32_t n = 10; n < 200; ++n) EXPECT_EQ(ChoosePoster(n).bitmap, 139 + (n - 1) % 16) << n;
}

}  // namespace
}  // namespace zembra

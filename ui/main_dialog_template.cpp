// Dialog template 102 as one table: the controls in template order with their kind, text,
// rectangle, visibility, tab stop and styles, and the font each draws in after start-up. Every
// control is named by its id from ui/control_ids.h; the posters take theirs from ui/poster.h.
#include "ui/main_dialog_template.h"

#include <algorithm>
#include <array>

#include "data/word_bank.h"
#include "ui/control_ids.h"
#include "ui/poster.h"
#include "ui/texts.h"

namespace zembra {
namespace {

namespace t = texts;
using K = ControlKind;
using F = FontRole;
using A = Align;

constexpr bool kShown = true, kHidden = false;
constexpr bool kTab = true, kNoTab = false;
constexpr bool kBorder = true, kAutoHScroll = true;

// The hidden letter statics after the answer holder, and the answer edits after the answer box.
constexpr int Letter(int n) { return ids::kAnswerHolder + n; }
constexpr int AnswerEdit(int n) { return ids::kAnswerBox + n; }

// The picture control of the poster at `index` of the poster order, which gives its id and bitmap.
constexpr ControlTemplate PosterPicture(std::size_t index, DialogRect rect) {
    const Poster& poster = kPosterOrder[index];
    return {poster.control, K::BitmapStatic, "", rect, kShown, kNoTab, A::Left, false, false, poster.bitmap};
}

// A control as the backends build it, and the font the dialog gives it at start-up.
struct Row {
    ControlTemplate control;
    FontRole font;
};

constexpr Row kRows[] = {
    {{ids::kCategoryCaption, K::TextStatic, t::kCaptionPlaceholder, {25, 11, 281, 13}, kShown, kNoTab, A::Centre},
     F::Song18},
    {{ids::kNext, K::PushButton, t::kNextText, {257, 197, 53, 14}, kShown, kTab}, F::Song12},
    {{kNoControlId, K::GroupBox, "", {0, 0, 477, 217}, kShown, kNoTab}, F::Dialog},
    {{ids::kDrillFrame, K::GroupBox, "", {2, 3, 318, 212}, kShown, kNoTab}, F::Dialog},
    {{kNoControlId, K::GroupBox, "", {322, 3, 152, 38}, kShown, kNoTab}, F::Dialog},
    {{kNoControlId, K::GroupBox, "", {322, 38, 152, 177}, kShown, kNoTab}, F::Dialog},
    {{ids::kAnswerHolder, K::TextStatic, t::kLetterPlaceholder, {26, 141, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(1), K::TextStatic, t::kLetterPlaceholder, {25, 160, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(2), K::TextStatic, t::kLetterPlaceholder, {26, 150, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(3), K::TextStatic, t::kLetterPlaceholder, {265, 159, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(4), K::TextStatic, t::kLetterPlaceholder, {99, 154, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(5), K::TextStatic, t::kLetterPlaceholder, {107, 161, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(6), K::TextStatic, t::kLetterPlaceholder, {115, 157, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(7), K::TextStatic, t::kLetterPlaceholder, {123, 163, 26, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(8), K::TextStatic, t::kLetterPlaceholder, {146, 130, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(9), K::TextStatic, t::kLetterPlaceholder, {154, 136, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(10), K::TextStatic, t::kLetterPlaceholder, {162, 143, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(11), K::TextStatic, t::kLetterPlaceholder, {170, 150, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(12), K::TextStatic, t::kLetterPlaceholder, {178, 156, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(13), K::TextStatic, t::kLetterPlaceholder, {186, 153, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(14), K::TextStatic, t::kLetterPlaceholder, {194, 157, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(15), K::TextStatic, t::kLetterPlaceholder, {166, 120, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(16), K::TextStatic, t::kLetterPlaceholder, {174, 127, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(17), K::TextStatic, t::kLetterPlaceholder, {182, 133, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(18), K::TextStatic, t::kLetterPlaceholder, {190, 140, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(19), K::TextStatic, t::kLetterPlaceholder, {198, 146, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(20), K::TextStatic, t::kLetterPlaceholder, {206, 153, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(21), K::TextStatic, t::kLetterPlaceholder, {214, 151, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(22), K::TextStatic, t::kLetterPlaceholder, {180, 111, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(23), K::TextStatic, t::kLetterPlaceholder, {188, 118, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(24), K::TextStatic, t::kLetterPlaceholder, {196, 124, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(25), K::TextStatic, t::kLetterPlaceholder, {204, 131, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(26), K::TextStatic, t::kLetterPlaceholder, {212, 137, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(27), K::TextStatic, t::kLetterPlaceholder, {220, 144, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(28), K::TextStatic, t::kLetterPlaceholder, {194, 103, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(29), K::TextStatic, t::kLetterPlaceholder, {202, 110, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(30), K::TextStatic, t::kLetterPlaceholder, {210, 116, 8, 8}, kHidden, kNoTab}, F::Song12},
    {{Letter(31), K::TextStatic, t::kLetterPlaceholder, {218, 123, 8, 8}, kHidden, kNoTab}, F::Song12},
    // The answer box scrolls horizontally so that every answer of the bank can be typed in full.
    {{ids::kAnswerBox, K::Edit, "", {100, 50, 134, 12}, kHidden, kNoTab, A::Centre, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(1), K::Edit, "", {26, 109, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(2), K::Edit, "", {34, 115, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(3), K::Edit, "", {42, 122, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(4), K::Edit, "", {50, 128, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(5), K::Edit, "", {58, 135, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(6), K::Edit, "", {66, 142, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(7), K::Edit, "", {74, 148, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(8), K::Edit, "", {82, 155, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(9), K::Edit, "", {90, 154, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(10), K::Edit, "", {98, 154, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(11), K::Edit, "", {75, 93, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(12), K::Edit, "", {83, 100, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(13), K::Edit, "", {91, 106, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(14), K::Edit, "", {99, 113, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(15), K::Edit, "", {107, 120, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(16), K::Edit, "", {115, 126, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(17), K::Edit, "", {123, 133, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(18), K::Edit, "", {131, 139, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(19), K::Edit, "", {139, 146, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(20), K::Edit, "", {147, 152, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(21), K::Edit, "", {141, 85, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(22), K::Edit, "", {231, 89, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(23), K::Edit, "", {187, 83, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(24), K::Edit, "", {195, 89, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(25), K::Edit, "", {203, 96, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(26), K::Edit, "", {211, 103, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(27), K::Edit, "", {219, 109, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(28), K::Edit, "", {227, 116, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(29), K::Edit, "", {235, 122, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(30), K::Edit, "", {243, 129, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{AnswerEdit(31), K::Edit, "", {251, 136, 40, 14}, kHidden, kTab, A::Left, kBorder, kAutoHScroll}, F::Song12},
    {{ids::kSubmit, K::DefaultPushButton, t::kSubmitText, {221, 197, 31, 14}, kShown, kTab}, F::Song12},
    {{ids::kRetry, K::PushButton, t::kRetryText, {185, 197, 31, 14}, kShown, kNoTab}, F::Song12},
    {{ids::kResultLine, K::TextStatic, "", {15, 110, 300, 20}, kShown, kNoTab, A::Centre}, F::Song18},
    // Under the result line; no tab stop, so Tab keeps moving between 提交 and 下一题.
    {{ids::kListen, K::PushButton, t::kListenText, {139, 132, 52, 14}, kShown, kNoTab}, F::Song12},
    {{ids::kRightMark, K::IconStatic, "", {285, 92, 20, 20}, kHidden, kNoTab, A::Left, false, false, ids::kTickIcon},
     F::Dialog},
    {{ids::kWrongMark, K::IconStatic, "", {285, 92, 20, 20}, kHidden, kNoTab, A::Left, false, false, ids::kCrossIcon},
     F::Dialog},
    {{ids::kNoticeBoardCaption, K::TextStatic, t::kNoticeBoardText, {372, 11, 51, 13}, kShown, kNoTab, A::Centre},
     F::Song18},
    {{ids::kTotalLabel, K::TextStatic, t::kTotalLabel, {329, 27, 24, 8}, kShown, kNoTab}, F::Song12},
    {{ids::kTotalCount, K::TextStatic, "Static", {353, 27, 19, 8}, kShown, kNoTab}, F::Song12},
    {{ids::kMasteredLabel, K::TextStatic, t::kMasteredLabel, {378, 27, 24, 8}, kShown, kNoTab}, F::Song12},
    {{ids::kMasteredCount, K::TextStatic, "Static", {402, 27, 25, 8}, kShown, kNoTab}, F::Song12},
    {{ids::kResetAll, K::PushButton, t::kResetAllText, {433, 26, 36, 11}, kShown, kNoTab}, F::Dialog},
    {{ids::kPromptLine, K::TextStatic, t::kPromptPlaceholder, {21, 30, 290, 14}, kShown, kNoTab, A::Centre}, F::Song18},
    // The posters, in the poster order.
    {PosterPicture(0, {325, 44, 145, 167}), F::Dialog},
    {PosterPicture(1, {325, 44, 145, 167}), F::Dialog},
    {PosterPicture(2, {325, 44, 145, 167}), F::Dialog},
    {PosterPicture(3, {325, 44, 145, 167}), F::Dialog},
    {PosterPicture(4, {325, 44, 145, 167}), F::Dialog},
    {PosterPicture(5, {326, 44, 145, 167}), F::Dialog},
    {PosterPicture(6, {325, 44, 145, 167}), F::Dialog},
    {PosterPicture(7, {326, 44, 145, 167}), F::Dialog},
    {PosterPicture(8, {326, 44, 145, 167}), F::Dialog},
    {PosterPicture(9, {326, 44, 145, 167}), F::Dialog},
    {PosterPicture(10, {325, 45, 146, 167}), F::Dialog},
    {PosterPicture(11, {325, 45, 145, 167}), F::Dialog},
    {PosterPicture(12, {327, 45, 143, 167}), F::Dialog},
    {PosterPicture(13, {324, 45, 146, 166}), F::Dialog},
    {PosterPicture(14, {325, 45, 146, 166}), F::Dialog},
    {PosterPicture(15, {326, 45, 145, 167}), F::Dialog},
    {{ids::kCategoryCombo, K::DropDownCombo, "", {39, 199, 64, 76}, kShown, kNoTab}, F::Dialog},
    {{ids::kFilterLabel, K::TextStatic, t::kFilterLabel, {6, 201, 28, 8}, kShown, kNoTab, A::Right}, F::Song12},
    // Beside the filter; no tab stop, so Tab keeps moving between 提交 and 下一题.
    {{ids::kDictation, K::CheckBox, t::kDictationText, {110, 199, 52, 12}, kShown, kNoTab}, F::Song12},
    // Either side of the notice board's caption, away from the drill; no tab stop, reached by
    // their access keys.
    {{ids::kImportList, K::PushButton, t::kImportListText, {324, 10, 47, 12}, kShown, kNoTab}, F::Dialog},
    {{ids::kRemoveList, K::PushButton, t::kRemoveListText, {425, 10, 47, 12}, kShown, kNoTab}, F::Dialog},
};
static_assert(std::size(kRows) == kControlCount);
static_assert(Letter(31) == ids::kLastLetterStatic && AnswerEdit(31) == ids::kLastAnswerEdit);

constexpr auto kControls = [] {
    std::array<ControlTemplate, std::size(kRows)> controls{};
    std::transform(std::begin(kRows), std::end(kRows), controls.begin(), [](const Row& row) { return row.control; });
    return controls;
}();

constexpr DialogTemplate kTemplate{ids::kDialog, t::kTitle, 478, 218, t::kDialogFace, 9, kControls};

}  // namespace

const DialogTemplate& MainDialogTemplate() { return kTemplate; }

FontRole FontRoleOf(int id) {
    const auto* row =
        std::find_if(std::begin(kRows), std::end(kRows), [id](const Row& r) { return r.control.id == id; });
    return row == std::end(kRows) ? FontRole::Dialog : row->font;
}

std::span<const std::string_view> CategoryComboEntries() {
    static const auto entries = [] {
        std::array<std::string_view, 1 + kCategoryCount + 2> list{t::kAllCategories};
        std::copy(std::begin(kCategories), std::end(kCategories), list.begin() + 1);
        list[1 + kCategoryCount] = t::kMissedWords;
        list.back() = t::kReview;
        return list;
    }();
    return entries;
}

std::span<const ComboBoxList> MainDialogComboLists() {
    static const ComboBoxList lists[] = {{ids::kCategoryCombo, CategoryComboEntries()}};
    return lists;
}

}  // namespace zembra

#include "ui/dialog_template.h"

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

constexpr ControlTemplate kControls[] = {
    {1001, K::TextStatic, t::kCaptionPlaceholder, {25, 11, 281, 13}, kShown, kNoTab, F::Song18, A::Centre},
    {1070, K::PushButton, t::kNextText, {257, 197, 53, 14}, kShown, kTab, F::Song12},
    {-1, K::GroupBox, "", {0, 0, 477, 217}, kShown, kNoTab, F::Dialog},
    {1067, K::GroupBox, "", {2, 3, 318, 212}, kShown, kNoTab, F::Dialog},
    {-1, K::GroupBox, "", {322, 3, 152, 38}, kShown, kNoTab, F::Dialog},
    {-1, K::GroupBox, "", {322, 38, 152, 177}, kShown, kNoTab, F::Dialog},
    {1003, K::TextStatic, t::kLetterPlaceholder, {26, 141, 26, 8}, kHidden, kNoTab, F::Song12},
    {1004, K::TextStatic, t::kLetterPlaceholder, {25, 160, 26, 8}, kHidden, kNoTab, F::Song12},
    {1005, K::TextStatic, t::kLetterPlaceholder, {26, 150, 26, 8}, kHidden, kNoTab, F::Song12},
    {1006, K::TextStatic, t::kLetterPlaceholder, {265, 159, 26, 8}, kHidden, kNoTab, F::Song12},
    {1007, K::TextStatic, t::kLetterPlaceholder, {99, 154, 26, 8}, kHidden, kNoTab, F::Song12},
    {1008, K::TextStatic, t::kLetterPlaceholder, {107, 161, 26, 8}, kHidden, kNoTab, F::Song12},
    {1009, K::TextStatic, t::kLetterPlaceholder, {115, 157, 26, 8}, kHidden, kNoTab, F::Song12},
    {1010, K::TextStatic, t::kLetterPlaceholder, {123, 163, 26, 8}, kHidden, kNoTab, F::Song12},
    {1011, K::TextStatic, t::kLetterPlaceholder, {146, 130, 8, 8}, kHidden, kNoTab, F::Song12},
    {1012, K::TextStatic, t::kLetterPlaceholder, {154, 136, 8, 8}, kHidden, kNoTab, F::Song12},
    {1013, K::TextStatic, t::kLetterPlaceholder, {162, 143, 8, 8}, kHidden, kNoTab, F::Song12},
    {1014, K::TextStatic, t::kLetterPlaceholder, {170, 150, 8, 8}, kHidden, kNoTab, F::Song12},
    {1015, K::TextStatic, t::kLetterPlaceholder, {178, 156, 8, 8}, kHidden, kNoTab, F::Song12},
    {1016, K::TextStatic, t::kLetterPlaceholder, {186, 153, 8, 8}, kHidden, kNoTab, F::Song12},
    {1017, K::TextStatic, t::kLetterPlaceholder, {194, 157, 8, 8}, kHidden, kNoTab, F::Song12},
    {1018, K::TextStatic, t::kLetterPlaceholder, {166, 120, 8, 8}, kHidden, kNoTab, F::Song12},
    {1019, K::TextStatic, t::kLetterPlaceholder, {174, 127, 8, 8}, kHidden, kNoTab, F::Song12},
    {1020, K::TextStatic, t::kLetterPlaceholder, {182, 133, 8, 8}, kHidden, kNoTab, F::Song12},
    {1021, K::TextStatic, t::kLetterPlaceholder, {190, 140, 8, 8}, kHidden, kNoTab, F::Song12},
    {1022, K::TextStatic, t::kLetterPlaceholder, {198, 146, 8, 8}, kHidden, kNoTab, F::Song12},
    {1023, K::TextStatic, t::kLetterPlaceholder, {206, 153, 8, 8}, kHidden, kNoTab, F::Song12},
    {1024, K::TextStatic, t::kLetterPlaceholder, {214, 151, 8, 8}, kHidden, kNoTab, F::Song12},
    {1025, K::TextStatic, t::kLetterPlaceholder, {180, 111, 8, 8}, kHidden, kNoTab, F::Song12},
    {1026, K::TextStatic, t::kLetterPlaceholder, {188, 118, 8, 8}, kHidden, kNoTab, F::Song12},
    {1027, K::TextStatic, t::kLetterPlaceholder, {196, 124, 8, 8}, kHidden, kNoTab, F::Song12},
    {1028, K::TextStatic, t::kLetterPlaceholder, {204, 131, 8, 8}, kHidden, kNoTab, F::Song12},
    {1029, K::TextStatic, t::kLetterPlaceholder, {212, 137, 8, 8}, kHidden, kNoTab, F::Song12},
    {1030, K::TextStatic, t::kLetterPlaceholder, {220, 144, 8, 8}, kHidden, kNoTab, F::Song12},
    {1031, K::TextStatic, t::kLetterPlaceholder, {194, 103, 8, 8}, kHidden, kNoTab, F::Song12},
    {1032, K::TextStatic, t::kLetterPlaceholder, {202, 110, 8, 8}, kHidden, kNoTab, F::Song12},
    {1033, K::TextStatic, t::kLetterPlaceholder, {210, 116, 8, 8}, kHidden, kNoTab, F::Song12},
    {1034, K::TextStatic, t::kLetterPlaceholder, {218, 123, 8, 8}, kHidden, kNoTab, F::Song12},
    // The answer box scrolls horizontally so that every answer of the bank can be typed in full.
    {1035, K::Edit, "", {100, 50, 134, 12}, kHidden, kNoTab, F::Song12, A::Centre, kBorder, kAutoHScroll},
    {1036, K::Edit, "", {26, 109, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1037, K::Edit, "", {34, 115, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1038, K::Edit, "", {42, 122, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1039, K::Edit, "", {50, 128, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1040, K::Edit, "", {58, 135, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1041, K::Edit, "", {66, 142, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1042, K::Edit, "", {74, 148, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1043, K::Edit, "", {82, 155, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1044, K::Edit, "", {90, 154, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1045, K::Edit, "", {98, 154, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1046, K::Edit, "", {75, 93, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1047, K::Edit, "", {83, 100, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1048, K::Edit, "", {91, 106, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1049, K::Edit, "", {99, 113, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1050, K::Edit, "", {107, 120, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1051, K::Edit, "", {115, 126, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1052, K::Edit, "", {123, 133, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1053, K::Edit, "", {131, 139, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1054, K::Edit, "", {139, 146, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1055, K::Edit, "", {147, 152, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1056, K::Edit, "", {141, 85, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1057, K::Edit, "", {231, 89, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1058, K::Edit, "", {187, 83, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1059, K::Edit, "", {195, 89, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1060, K::Edit, "", {203, 96, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1061, K::Edit, "", {211, 103, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1062, K::Edit, "", {219, 109, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1063, K::Edit, "", {227, 116, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1064, K::Edit, "", {235, 122, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1065, K::Edit, "", {243, 129, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1066, K::Edit, "", {251, 136, 40, 14}, kHidden, kTab, F::Song12, A::Left, kBorder, kAutoHScroll},
    {1068, K::DefaultPushButton, t::kSubmitText, {221, 197, 31, 14}, kShown, kTab, F::Song12},
    {1069, K::PushButton, t::kRetryText, {185, 197, 31, 14}, kShown, kNoTab, F::Song12},
    {1073, K::TextStatic, "", {15, 110, 300, 20}, kShown, kNoTab, F::Song18, A::Centre},
    {1074, K::IconStatic, "", {285, 92, 20, 20}, kHidden, kNoTab, F::Dialog, A::Left, false, false, 133},
    {1075, K::IconStatic, "", {285, 92, 20, 20}, kHidden, kNoTab, F::Dialog, A::Left, false, false, 134},
    {1078, K::TextStatic, t::kNoticeBoardText, {372, 11, 51, 13}, kShown, kNoTab, F::Song18, A::Centre},
    {1081, K::TextStatic, t::kTotalLabel, {329, 27, 24, 8}, kShown, kNoTab, F::Song12},
    {1079, K::TextStatic, "Static", {353, 27, 19, 8}, kShown, kNoTab, F::Song12},
    {1082, K::TextStatic, t::kMasteredLabel, {378, 27, 24, 8}, kShown, kNoTab, F::Song12},
    {1080, K::TextStatic, "Static", {402, 27, 25, 8}, kShown, kNoTab, F::Song12},
    {1084, K::PushButton, t::kResetAllText, {433, 26, 36, 11}, kShown, kNoTab, F::Dialog},
    {1002, K::TextStatic, t::kPromptPlaceholder, {21, 30, 290, 14}, kShown, kNoTab, F::Song18, A::Centre},
    // The posters, in the poster order.
    {1086, K::BitmapStatic, "", {325, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 154},
    {1095, K::BitmapStatic, "", {325, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 139},
    {1087, K::BitmapStatic, "", {325, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 140},
    {1088, K::BitmapStatic, "", {325, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 141},
    {1089, K::BitmapStatic, "", {325, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 142},
    {1090, K::BitmapStatic, "", {326, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 143},
    {1091, K::BitmapStatic, "", {325, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 144},
    {1092, K::BitmapStatic, "", {326, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 145},
    {1093, K::BitmapStatic, "", {326, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 146},
    {1094, K::BitmapStatic, "", {326, 44, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 147},
    {1096, K::BitmapStatic, "", {325, 45, 146, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 148},
    {1097, K::BitmapStatic, "", {325, 45, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 149},
    {1098, K::BitmapStatic, "", {327, 45, 143, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 150},
    {1099, K::BitmapStatic, "", {324, 45, 146, 166}, kShown, kNoTab, F::Dialog, A::Left, false, false, 151},
    {1100, K::BitmapStatic, "", {325, 45, 146, 166}, kShown, kNoTab, F::Dialog, A::Left, false, false, 152},
    {1101, K::BitmapStatic, "", {326, 45, 145, 167}, kShown, kNoTab, F::Dialog, A::Left, false, false, 153},
    {1102, K::DropDownCombo, "", {39, 199, 64, 76}, kShown, kNoTab, F::Dialog},
    {1103, K::TextStatic, t::kFilterLabel, {6, 201, 28, 8}, kShown, kNoTab, F::Song12, A::Right},
};
static_assert(std::size(kControls) == kControlCount);

constexpr DialogTemplate kTemplate{102, t::kTitle, 478, 218, t::kDialogFace, 9, kControls};

constexpr std::string_view kComboEntries[] = {
    t::kAllCategories,  t::kCatWords,        t::kCatPhrases,      t::kCatThirdPerson,   t::kCatPastTense,
    t::kCatPrepPhrases, t::kCatPlurals,      t::kCatContractions, t::kCatQuestionWords, t::kCatParticiples,
    t::kCatAdverbs,     t::kCatComparatives, t::kCatSuperlatives,
};

}  // namespace

const DialogTemplate& MainDialogTemplate() { return kTemplate; }

const ControlTemplate* FindControl(int id) {
    for (const ControlTemplate& c : kControls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

std::span<const std::string_view> CategoryComboEntries() { return kComboEntries; }

}  // namespace zembra

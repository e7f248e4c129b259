// Fonts by point size: the logical font that the dialog's fonts are made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/win32/point_font.h"

namespace zembra::win32 {
namespace {

struct HeightCase {
    int tenths;
    int logPixelsY;
    LONG height;
};

class PointFontTest : public ::testing::TestWithParam<HeightCase> {};

TEST_P(PointFontTest, HeightIsTheTruncatedPixelHeightOfTheCharacters) {
    const LOGFONTW font = PointFontDescription(GetParam().tenths, L"宋体", GetParam().logPixelsY);
    EXPECT_EQ(font.lfHeight, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Win32, PointFontTest,
                         ::testing::Values(HeightCase{180, 96, -24}, HeightCase{120, 96, -16},
                                           HeightCase{180, 120, -30}, HeightCase{120, 144, -24},
                                           HeightCase{120, 97, -16}, HeightCase{90, 101, -12}),
                         [](const auto& test) {
                             return std::to_string(test.param.tenths) + "At" + std::to_string(test.param.logPixelsY);
                         });

TEST(PointFontDescriptionTest, IsAllZeroButFaceCharacterSetAndHeight) {
    const LOGFONTW font = PointFontDescription(120, L"宋体", 96);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    LOGFONTW rest = font;
    rest.lfHeight = 0;
    rest.lfCharSet = 0;
    std::fill(std::begin(rest.lfFaceName), std::end(rest.lfFaceName), L'\0');
    const LOGFONTW zero{};
    EXPECT_EQ(std::memcmp(&rest, &zero, sizeof rest), 0);
}

TEST(PointFontDescriptionTest, ALongFaceIsCutToFitWithItsZero) {
    const std::wstring face(40, L'x');
    const LOGFONTW font = PointFontDescription(120, face, 96);
    EXPECT_EQ(std::wstring(font.lfFaceName), face.substr(0, 31));
}

}  // namespace
}  // namespace zembra::win32

// Smooth resizing of the dialog's pictures: interpolation when growing, averaging when
// shrinking, premultiplied alpha, and nothing changed at the same size.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/win32/image_resample.h"

namespace zembra::win32 {
namespace {

constexpr std::uint32_t Grey(std::uint32_t level) { return 0xFF000000 | level << 16 | level << 8 | level; }

PixelImage Checkerboard(int size) {
    PixelImage image{size, size, {}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) image.pixels.push_back((x + y) % 2 ? Grey(255) : Grey(0));
    }
    return image;
}

TEST(ResampleTest, TheSameSizeKeepsEveryPixel) {
    const PixelImage board = Checkerboard(5);
    EXPECT_EQ(Resample(board, 5, 5).pixels, board.pixels);
}

TEST(ResampleTest, AFlatColourStaysFlatAtAnySize) {
    const std::uint32_t halfGreen = 0x80008000;  // premultiplied: green at half opacity
    const PixelImage flat{3, 5, std::vector<std::uint32_t>(15, halfGreen)};
    for (const auto& [width, height] : {std::pair{7, 2}, {11, 13}, {1, 1}, {3, 10}}) {
        const PixelImage resized = Resample(flat, width, height);
        ASSERT_EQ(resized.pixels.size(), static_cast<std::size_t>(width * height));
        for (std::uint32_t pixel : resized.pixels) EXPECT_EQ(pixel, halfGreen) << width << " x " << height;
    }
}

// Twice as wide, each new pixel lies a quarter of a source pixel from its nearer neighbour.
TEST(ResampleTest, GrowingInterpolatesBetweenNeighbours) {
    const PixelImage edge{2, 1, {Grey(0), Grey(255)}};
    const PixelImage wide = Resample(edge, 4, 1);
    EXPECT_EQ(wide.pixels, (std::vector<std::uint32_t>{Grey(0), Grey(64), Grey(191), Grey(255)}));
}

// Halved, a board of one-pixel squares becomes even grey: no square is just dropped.
TEST(ResampleTest, ShrinkingAveragesEveryCoveredPixel) {
    const PixelImage half = Resample(Checkerboard(16), 8, 8);
    for (int y = 1; y < 7; ++y) {
        for (int x = 1; x < 7; ++x) {
            EXPECT_NEAR(static_cast<int>(half.pixels[static_cast<std::size_t>(y * 8 + x)] & 0xFF), 128, 1)
                << x << ", " << y;
        }
    }
}

// Beside a transparent pixel, red fades out as red, not through a darker red.
TEST(ResampleTest, TransparencyBlendsWithoutADarkFringe) {
    const PixelImage tip{2, 1, {0xFFFF0000, 0x00000000}};
    for (std::uint32_t pixel : Resample(tip, 4, 1).pixels) {
        const std::uint32_t alpha = pixel >> 24;
        EXPECT_EQ((pixel >> 16) & 0xFF, alpha) << std::hex << pixel;
        EXPECT_EQ(pixel & 0xFFFF, 0u) << std::hex << pixel;
    }
    EXPECT_EQ(Resample(tip, 4, 1).pixels[1] >> 24, 191u);
}

}  // namespace
}  // namespace zembra::win32

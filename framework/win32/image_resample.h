// Smooth resizing of pixel images for any screen scale: a tent filter that interpolates when an
// image grows and averages every covered source pixel when it shrinks, on premultiplied alpha so
// that transparent pixels give no dark fringe.
#pragma once

#include <cstdint>
#include <vector>

namespace zembra::win32 {

// Pixels row by row from the top, each 0xAARRGGBB with the colour premultiplied by alpha.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The image resized to `width` x `height` (each at least 1). The same size gives the same pixels.
PixelImage Resample(const PixelImage& source, int width, int height);

}  // namespace zembra::win32

#include "framework/win32/image_resample.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zembra::win32 {
namespace {

struct Tap {
    int source;
    float weight;
};

// For each destination index, the source indices it takes from and their weights (summing to 1).
// The tent is one source pixel wide on each side when growing, one destination pixel (measured
// in source pixels) when shrinking.
std::vector<std::vector<Tap>> Taps(int sourceLength, int targetLength) {
    const double scale = static_cast<double>(sourceLength) / targetLength;
    const double radius = std::max(1.0, scale);
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(targetLength));
    for (int target = 0; target < targetLength; ++target) {
        const double centre = (target + 0.5) * scale - 0.5;
        const int first = static_cast<int>(std::floor(centre - radius)) + 1;
        const int last = static_cast<int>(std::ceil(centre + radius)) - 1;
        std::vector<Tap>& row = taps[static_cast<std::size_t>(target)];
        double sum = 0;
        for (int s = first; s <= last; ++s) {
            const double weight = 1.0 - std::abs(s - centre) / radius;
            if (weight <= 0) continue;
            row.push_back({std::clamp(s, 0, sourceLength - 1), static_cast<float>(weight)});
            sum += weight;
        }
        for (Tap& tap : row) tap.weight = static_cast<float>(tap.weight / sum);
    }
    return taps;
}

using Channels = std::array<float, 4>;

Channels Unpack(std::uint32_t pixel) {
    return {static_cast<float>(pixel & 0xFF), static_cast<float>((pixel >> 8) & 0xFF),
            static_cast<float>((pixel >> 16) & 0xFF), static_cast<float>(pixel >> 24)};
}

std::uint32_t Pack(const Channels& c) {
    std::uint32_t pixel = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto value = static_cast<std::uint32_t>(std::lround(std::clamp(c[i], 0.0F, 255.0F)));
        pixel |= value << (8 * i);
    }
    return pixel;
}

}  // namespace

PixelImage Resample(const PixelImage& source, int width, int height) {
    if (width == source.width && height == source.height) return source;
    const auto columns = Taps(source.width, width);
    const auto rows = Taps(source.height, height);

    // Across first, into a buffer of source rows and target columns; then down.
    const auto across = static_cast<std::size_t>(width);
    std::vector<Channels> wide(across * static_cast<std::size_t>(source.height));
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* line =
            source.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(source.width);
        for (std::size_t x = 0; x < across; ++x) {
            Channels sum{};
            for (const Tap& tap : columns[x]) {
                const Channels c = Unpack(line[tap.source]);
                for (std::size_t i = 0; i < 4; ++i) sum[i] += c[i] * tap.weight;
            }
            wide[static_cast<std::size_t>(y) * across + x] = sum;
        }
    }

    PixelImage result{width, height, std::vector<std::uint32_t>(across * static_cast<std::size_t>(height))};
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        for (std::size_t x = 0; x < across; ++x) {
            Channels sum{};
            for (const Tap& tap : rows[y]) {
                const Channels& c = wide[static_cast<std::size_t>(tap.source) * across + x];
                for (std::size_t i = 0; i < 4; ++i) sum[i] += c[i] * tap.weight;
            }
            // Premultiplied colour never exceeds its alpha; rounding could make it.
            for (std::size_t i = 0; i < 3; ++i) sum[i] = std::min(sum[i], sum[3]);
            result.pixels[y * across + x] = Pack(sum);
        }
    }
    return result;
}

}  // namespace zembra::win32

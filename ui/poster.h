// The notice board's sixteen posters: the poster order and the choice made from the run counter.
// The one table of the posters' control ids, bitmap ids and bitmap sizes.
#pragma once

#include <array>
#include <cstdint>

namespace zembra {

struct Poster {
    int control;        // picture control id
    int bitmap;         // bitmap resource id
    int width, height;  // the bitmap's size in pixels
};

// Index 0 is the start poster 1086. The template's picture controls are made from this table, in
// this order.
inline constexpr std::array<Poster, 16> kPosterOrder{{
    {1086, 154, 254, 354},
    {1095, 139, 253, 354},
    {1087, 140, 254, 354},
    {1088, 141, 254, 355},
    {1089, 142, 254, 355},
    {1090, 143, 253, 354},
    {1091, 144, 254, 354},
    {1092, 145, 254, 354},
    {1093, 146, 253, 354},
    {1094, 147, 254, 354},
    {1096, 148, 255, 354},
    {1097, 149, 254, 355},
    {1098, 150, 251, 354},
    {1099, 151, 255, 353},
    {1100, 152, 255, 353},
    {1101, 153, 253, 355},
}};

// The poster shown for a run counter: the start poster below 10 (zero and negatives included),
// otherwise the entry at index counter mod 16.
constexpr const Poster& ChoosePoster(std::int32_t runCounter) {
    return runCounter < 10 ? kPosterOrder[0] : kPosterOrder[static_cast<unsigned>(runCounter) % 16];
}

}  // namespace zembra

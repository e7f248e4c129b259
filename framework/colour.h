// A colour as 0x00BBGGRR, like the platform's COLORREF.
#pragma once

#include <cstdint>

namespace zembra {

using Colour = std::uint32_t;
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

}  // namespace zembra

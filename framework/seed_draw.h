// The seed-and-draw generator: a 32-bit state, reseeded with the time before every draw.
#pragma once

#include <cstdint>

namespace zembra {

class SeedAndDraw {
public:
    void Seed(std::uint32_t seed) { m_state = seed; }
    // A value from 0 to 32767.
    int Draw() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t m_state = 1;
};

}  // namespace zembra

// The seed-and-draw generator: state = state * 214013 + 2531011 (mod 2^32), a draw is bits 16..30
// of the new state. The expected values are worked out from the formula, not taken from the code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "framework/seed_draw.h"

namespace zembra {
namespace {

std::vector<int> Draws(SeedAndDraw& generator, int count) {
    std::vector<int> draws;
    for (int i = 0; i < count; ++i) draws.push_back(generator.Draw());
    return draws;
}

struct KnownSequence {
    const char* name;
    friend void PrintTo(const KnownSequence& c, std::ostream* out) { *out << c.name; }
    std::uint32_t seed;
    std::vector<int> draws;
};

class SeedAndDrawSequence : public ::testing::TestWithParam<KnownSequence> {};

TEST_P(SeedAndDrawSequence, FirstDrawsFollowTheFormula) {
    SeedAndDraw generator;
    generator.Seed(GetParam().seed);
    EXPECT_EQ(Draws(generator, static_cast<int>(GetParam().draws.size())), GetParam().draws);
}

const KnownSequence kSeedAndDrawSequenceCases[] = {
    // 0 * 214013 + 2531011 = 2531011 = 38 * 65536 + 40643
    KnownSequence{"Zero", 0u, {38, 7719, 21238, 2437, 8855}},
    // 214013 + 2531011 = 2745024 = 41 * 65536 + 58048; the familiar 41, 18467, 6334, ...
    KnownSequence{"One", 1u, {41, 18467, 6334, 26500, 19169}},
    // (2^32 - 1) * 214013 + 2531011 = 2531011 - 214013 = 2316998 (mod 2^32) = 35 * 65536 + 23238
    KnownSequence{"LargestSeedWrapsAround", 0xFFFFFFFFu, {35, 29739, 3374}},
    // 20070 * 214013 + 2531011 = 4297771921 = 2^32 + 2804625; 2804625 >> 16 = 42
    KnownSequence{"StateOverflowsOnce", 20070u, {42}},
    // 10100 * 214013 + 2531011 = 2164062311, above 2^31: (>> 16) = 33020, bit 15 dropped = 252
    KnownSequence{"TopBitOfTheStateIsDropped", 10100u, {252}},
    // A time in seconds, as the drill seeds it.
    KnownSequence{"ATime", 1700000000u, {28462, 1027, 22663}},
};

INSTANTIATE_TEST_SUITE_P(Seeds, SeedAndDrawSequence, ::testing::ValuesIn(kSeedAndDrawSequenceCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SeedAndDraw, UnseededStartsAsSeedOne) {
    SeedAndDraw unseeded;
    SeedAndDraw seeded;
    seeded.Seed(1);
    EXPECT_EQ(Draws(unseeded, 3), Draws(seeded, 3));
}

TEST(SeedAndDraw, ReseedingRestartsTheSequence) {
    SeedAndDraw generator;
    generator.Seed(12345);
    const std::vector<int> first = Draws(generator, 4);
    generator.Seed(999);
    generator.Draw();
    generator.Seed(12345);
    EXPECT_EQ(Draws(generator, 4), first);
}

TEST(SeedAndDraw, DrawsStayWithinFifteenBits) {
    SeedAndDraw generator;
    generator.Seed(0xDEADBEEFu);
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int draw = generator.Draw();
        ASSERT_GE(draw, 0);
        ASSERT_LE(draw, 32767);
        highest = std::max(highest, draw);
    }
    EXPECT_GT(highest, 32000);  // the whole range is used, not only its lower half
}

}  // namespace
}  // namespace zembra

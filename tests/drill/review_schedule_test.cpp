// The review schedule's pure parts: the mark's grammar, the climb through the intervals, a clock
// set back, and the calendar day behind them.
#include "drill/review_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "framework/local_day.h"

namespace zembra {
namespace {

constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();

struct MarkCase {
    const char* name;
    ReviewSchedule schedule;  // as written; read back brought within range
    const char* mark;
};

class MarkGrammar : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MarkGrammar, WritesAndReadsBack) {
    const MarkCase& c = GetParam();
    EXPECT_EQ(WriteSchedule(c.schedule), c.mark);
    const ReviewSchedule read = *ReadSchedule(c.mark);
    EXPECT_EQ(WriteSchedule(read), c.mark);
}

INSTANTIATE_TEST_SUITE_P(Marks, MarkGrammar,
                         ::testing::Values(MarkCase{"FirstDay", {1, 1}, "a1"}, MarkCase{"TenCarries", {2, 10}, "b11"},
                                           MarkCase{"EightyOne", {1, 81}, "a89"},
                                           MarkCase{"ADayOf2017", {3, 17484}, "c25876"},
                                           MarkCase{"ADayOf2026", {7, DaysFromCivil(2026, 12, 10)}, "g31467"},
                                           MarkCase{"TopLevelLastDay", {26, kLastDay}, "z9999999"},
                                           // Out of range: clamped, never written as something that is not a schedule.
                                           MarkCase{"LevelZero", {0, 5}, "a5"}, MarkCase{"LevelTooHigh", {99, 5}, "z5"},
                                           MarkCase{"DayNegative", {1, -kHuge}, "a1"},
                                           MarkCase{"DayTooLate", {1, kHuge}, "a9999999"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(MarkGrammarSweep, EveryDayIsWrittenWithoutAZeroAndReadBack) {
    for (std::int64_t day = kFirstDay; day <= kLastDay; day += day < 100000 ? 1 : 97) {
        const std::string mark = WriteSchedule({2, day});
        ASSERT_EQ(mark.find('0'), std::string::npos) << day;
        ASSERT_EQ(ReadSchedule(mark), (ReviewSchedule{2, day})) << mark;
    }
    for (const char* other : {"", "1", "11", "a", "A1", "a0", "a10", "{1", "a1 ", "a12345678", "\xB5\xA5"}) {
        EXPECT_EQ(ReadSchedule(other), std::nullopt) << other;
        EXPECT_FALSE(IsDue(other, 20000)) << other;
    }
}

// Reviewed on each due day, a row climbs the levels and waits 2, 4, 7, 15, 30, then 60 days.
TEST(Intervals, OnTheDueDayClimbsTheIntervalsAndAClockSetBackMakesARowDue) {
    std::int64_t day = 20000;
    std::string mark = MarkAfterRightAnswer("", false, day);
    EXPECT_EQ(mark, WriteSchedule({1, day + 1}));
    ++day;
    for (const int gap : {2, 4, 7, 15, 30, 60, 60}) {
        ASSERT_TRUE(IsDue(mark, day) && !IsDue(mark, day - 1)) << mark;
        const int level = ReadSchedule(mark)->level;
        mark = MarkAfterRightAnswer(mark, true, day);
        EXPECT_EQ(ReadSchedule(mark), (ReviewSchedule{level + 1, day + gap})) << mark;
        day += gap;
    }
    // Answered right outside a review (first mastered, or again after a miss): level 1.
    EXPECT_EQ(MarkAfterRightAnswer(mark, false, day), WriteSchedule({1, day + 1}));
    EXPECT_EQ(MarkAfterRightAnswer("0", true, day), WriteSchedule({1, day + 1}));
    EXPECT_EQ(MarkAfterRightAnswer("z9999999", true, kLastDay), "z9999999");
    // More than the longest interval ahead: the clock was set back, and the row is due today.
    EXPECT_FALSE(IsDue(WriteSchedule({3, day + kLongestInterval}), day));
    EXPECT_TRUE(IsDue(WriteSchedule({3, day + kLongestInterval + 1}), day));
    EXPECT_EQ(MarkAfterRightAnswer(WriteSchedule({3, day + 500}), true, day), WriteSchedule({4, day + 7}));
}

TEST(CalendarDay, CountsGregorianDaysAndLocalDaysFollowTheClock) {
    static_assert(DaysFromCivil(1970, 1, 1) == 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(DaysFromCivil(1, 1, 1), -719162);
    EXPECT_EQ(DaysFromCivil(2024, 3, 1) - DaysFromCivil(2024, 2, 28), 2);  // a leap day
    EXPECT_EQ(DaysFromCivil(2100, 3, 1) - DaysFromCivil(2100, 2, 28), 1);  // none
    // Every time zone is within a day of UTC; moments no calendar holds still give a day.
    for (const std::int64_t day : {0, 17484, 60000}) {
        const std::int64_t local = LocalDay(day * 86400 + 43200);
        EXPECT_LE(std::abs(local - day), 1);
        EXPECT_EQ(LocalDay(day * 86400 + 43200 + 86400), local + 1);
    }
    EXPECT_GT(LocalDay(kHuge), kLastDay);
    EXPECT_LT(LocalDay(std::numeric_limits<std::int64_t>::min()), 0);
}

}  // namespace
}  // namespace zembra

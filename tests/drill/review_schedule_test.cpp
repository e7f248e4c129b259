// The review schedule's pure parts: the mark's grammar, the intervals, the days of unknown marks,
// a clock set back, and the calendar day behind them.
#include "drill/review_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include "framework/local_day.h"

namespace zembra {
namespace {

struct MarkCase {
    const char* name;
    ReviewSchedule schedule;
    const char* mark;
};

class MarkGrammar : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MarkGrammar, WritesAndReadsBack) {
    const MarkCase& c = GetParam();
    EXPECT_EQ(WriteSchedule(c.schedule), c.mark);
    EXPECT_EQ(ReadSchedule(c.mark), c.schedule);
}

INSTANTIATE_TEST_SUITE_P(Marks, MarkGrammar,
                         ::testing::Values(MarkCase{"FirstDay", {1, 1}, "a1"}, MarkCase{"NineIsOneDigit", {1, 9}, "a9"},
                                           MarkCase{"TenCarries", {2, 10}, "b11"},
                                           MarkCase{"EightyOne", {1, 81}, "a89"},
                                           MarkCase{"ADayOf2017", {3, 17484}, "c25876"},
                                           MarkCase{"ADayOf2026", {7, DaysFromCivil(2026, 12, 10)}, "g31467"},
                                           MarkCase{"TopLevelLastDay", {26, kLastDay}, "z9999999"}),
                         [](const auto& test) { return std::string(test.param.name); });

// Out of range levels and days are brought within range rather than written as something else:
// the mark stays a mastered mark (no '0', no line end) whatever the arithmetic gave.
TEST(MarkGrammar, OutOfRangeIsClamped) {
    constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(WriteSchedule({0, 5}), "a5");
    EXPECT_EQ(WriteSchedule({99, 5}), "z5");
    EXPECT_EQ(WriteSchedule({1, 0}), "a1");
    EXPECT_EQ(WriteSchedule({1, -kHuge}), "a1");
    EXPECT_EQ(WriteSchedule({1, kHuge}), "a9999999");
    EXPECT_EQ(MarkAfterRightAnswer("a9999999", true, kLastDay), "b9999999");
}

TEST(MarkGrammar, EveryDayIsWrittenWithoutAZeroAndReadBack) {
    for (std::int64_t day = kFirstDay; day <= kLastDay; day += day < 100000 ? 1 : 97) {
        const std::string mark = WriteSchedule({2, day});
        ASSERT_EQ(mark.find('0'), std::string::npos) << day;
        ASSERT_LE(mark.size(), 8u);
        ASSERT_EQ(ReadSchedule(mark), (ReviewSchedule{2, day})) << mark;
    }
}

TEST(MarkGrammar, OtherMasteredTextsHoldNoSchedule) {
    for (const char* mark : {"", "1", "11", "a", "A1", "a0", "a10", "{1", "a1 ", "c2587x", "a12345678", "\xB5\xA5"}) {
        EXPECT_EQ(ReadSchedule(mark), std::nullopt) << mark;
        EXPECT_FALSE(IsDue(mark, 20000)) << mark;
    }
}

TEST(Intervals, ClimbOneTwoFourSevenFifteenThirtySixty) {
    const std::map<int, int> expected{{0, 1}, {1, 1}, {2, 2}, {3, 4}, {4, 7}, {5, 15}, {6, 30}, {7, 60}, {26, 60}};
    for (const auto& [level, days] : expected) EXPECT_EQ(ReviewInterval(level), days) << level;
}

// Reviewed on each due day, a row climbs the levels and the gaps between its reviews grow.
TEST(Intervals, ReviewsOnTheDueDayClimbTheLevels) {
    const std::int64_t first = 20000;
    std::string mark = MarkAfterRightAnswer("", false, first);
    EXPECT_EQ(mark, WriteSchedule({1, first + 1}));
    std::int64_t day = first + 1;
    for (const int gap : {2, 4, 7, 15, 30, 60, 60}) {
        ASSERT_TRUE(IsDue(mark, day));
        ASSERT_FALSE(IsDue(mark, day - 1));
        const ReviewSchedule before = *ReadSchedule(mark);
        mark = MarkAfterRightAnswer(mark, true, day);
        EXPECT_EQ(*ReadSchedule(mark), (ReviewSchedule{before.level + 1, day + gap})) << mark;
        day += gap;
    }
    // Answered right outside a review (first mastered, or again after a miss): level 1.
    EXPECT_EQ(MarkAfterRightAnswer(mark, false, day), WriteSchedule({1, day + 1}));
    EXPECT_EQ(MarkAfterRightAnswer("0", true, day), WriteSchedule({1, day + 1}));
}

TEST(Due, ALateReviewIsDueAndAClockSetBackNeverLeavesARowUnreachable) {
    const std::int64_t today = 20000;
    EXPECT_TRUE(IsDue(WriteSchedule({3, today - 400}), today));  // overdue for long
    EXPECT_FALSE(IsDue(WriteSchedule({3, today + kLongestInterval}), today));
    EXPECT_TRUE(IsDue(WriteSchedule({3, today + kLongestInterval + 1}), today));  // clock set back
    EXPECT_TRUE(IsDue(WriteSchedule({3, kLastDay}), 0));
    // A row due in the far future because of a clock set back climbs from where it stood.
    EXPECT_EQ(MarkAfterRightAnswer(WriteSchedule({3, today + 500}), true, today), WriteSchedule({4, today + 7}));
}

// 1,200 rows of unknown date: 40 due on each of the next 30 days, the same days on every start.
TEST(UnknownMarks, AreSpreadEvenlyOverTheNextThirtyDays) {
    const std::int64_t today = 20000;
    std::map<std::int64_t, int> rowsOnDay;
    for (int row = 0; row < 1200; ++row) {
        const std::string mark = ScheduleForUnknownMark(row, today);
        EXPECT_EQ(mark, ScheduleForUnknownMark(row, today));
        ++rowsOnDay[ReadSchedule(mark)->dueDay];
    }
    ASSERT_EQ(rowsOnDay.size(), 30u);
    EXPECT_EQ(rowsOnDay.begin()->first, today + 1);
    EXPECT_EQ(rowsOnDay.rbegin()->first, today + 30);
    for (const auto& [day, rows] : rowsOnDay) EXPECT_EQ(rows, 40) << day;
}

TEST(CalendarDay, CountsDaysOfTheGregorianCalendar) {
    static_assert(DaysFromCivil(1970, 1, 1) == 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(DaysFromCivil(2024, 3, 1) - DaysFromCivil(2024, 2, 28), 2);  // a leap day
    EXPECT_EQ(DaysFromCivil(2100, 3, 1) - DaysFromCivil(2100, 2, 28), 1);  // no leap day
    EXPECT_EQ(DaysFromCivil(1969, 12, 31), -1);
    EXPECT_EQ(DaysFromCivil(1, 1, 1), -719162);
    EXPECT_EQ(DaysFromCivil(-400, 3, 1) - DaysFromCivil(-400, 2, 28), 2);  // before year 0
}

// The local day is within a day of the UTC day (every time zone is), and moments no calendar
// holds still give a day rather than failing.
TEST(CalendarDay, LocalDayFollowsTheClockAndSurvivesAnyMoment) {
    for (const std::int64_t day : {0LL, 17484LL, 20432LL, 60000LL}) {
        const std::int64_t local = LocalDay(day * 86400 + 43200);
        EXPECT_GE(local, day - 1);
        EXPECT_LE(local, day + 1);
        EXPECT_EQ(LocalDay(day * 86400 + 43200 + 86400), local + 1);
    }
    EXPECT_GT(LocalDay(std::numeric_limits<std::int64_t>::max()), kLastDay);
    EXPECT_LT(LocalDay(std::numeric_limits<std::int64_t>::min()), 0);
}

}  // namespace
}  // namespace zembra

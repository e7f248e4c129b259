#include "drill/review_schedule.h"

#include <algorithm>
#include <array>

namespace zembra {

int ReviewInterval(int level) {
    constexpr std::array<int, 7> kIntervals{1, 2, 4, 7, 15, 30, kLongestInterval};
    return kIntervals[static_cast<std::size_t>(std::clamp(level, 1, static_cast<int>(kIntervals.size())) - 1)];
}

std::optional<ReviewSchedule> ReadSchedule(std::string_view mark) {
    if (mark.size() < 2 || mark.size() > 8 || mark[0] < 'a' || mark[0] > 'z') return std::nullopt;
    std::int64_t day = 0;
    for (const char digit : mark.substr(1)) {
        if (digit < '1' || digit > '9') return std::nullopt;
        day = day * 9 + (digit - '0');
    }
    return ReviewSchedule{mark[0] - 'a' + 1, day};
}

std::string WriteSchedule(ReviewSchedule schedule) {
    std::string mark(1, static_cast<char>('a' + std::clamp(schedule.level, 1, kTopLevel) - 1));
    // Bijective digits come out least significant first: a digit of 9 stands where a plain
    // base would write 0 and borrow one.
    std::int64_t day = std::clamp(schedule.dueDay, kFirstDay, kLastDay);
    while (day > 0) {
        const std::int64_t digit = (day - 1) % 9 + 1;
        mark.push_back(static_cast<char>('0' + digit));
        day = (day - digit) / 9;
    }
    std::reverse(mark.begin() + 1, mark.end());
    return mark;
}

namespace {

// The bijective digits of a day; "" for a day before the first, the last day's for one after it.
std::string DigitsOf(std::int64_t day) { return day < kFirstDay ? std::string() : WriteSchedule({1, day}).substr(1); }

}  // namespace

DueOn::DueOn(std::int64_t today)
    : m_today(DigitsOf(today)), m_lastNotDue(DigitsOf(today > kLastDay ? today : today + kLongestInterval)) {}

std::string MarkAfterRightAnswer(std::string_view mark, bool reviewed, std::int64_t today) {
    int level = 1;
    if (reviewed) {
        const std::optional<ReviewSchedule> schedule = ReadSchedule(mark);
        if (schedule && IsDue(mark, today)) level = std::min(schedule->level + 1, kTopLevel);
    }
    return WriteSchedule({level, today + ReviewInterval(level)});
}

std::string ScheduleForUnknownMark(int row, std::int64_t today) {
    return WriteSchedule({1, today + 1 + (row >= 0 ? row % 30 : 0)});
}

}  // namespace zembra

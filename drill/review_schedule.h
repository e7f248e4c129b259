// When a mastered row comes back for review (复习). A mastered mark holds the row's review level
// and the day it is due again, in a form that every reader of the progress file still counts as
// mastered (not empty, no byte '0'):
//
//   mark  = level day
//   level = one letter 'a'..'z': level 1..26 (the level climbs no further)
//   day   = the due day (days since 1970-01-01, the pupil's local calendar) in bijective base
//           nine: digits '1'..'9' worth 1..9, most significant first, 1 to 7 digits
//
// "c25876" is level 3, due on day 2*9^4 + 5*9^3 + 8*9^2 + 7*9 + 6 = 17484. A bare "1", or any
// other mastered text, is a mastered row whose schedule is not known.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zembra {

struct ReviewSchedule {
    int level = 1;
    std::int64_t dueDay = 0;
    friend bool operator==(const ReviewSchedule&, const ReviewSchedule&) = default;
};

// The days a mark holds: 1 to 9^7 + ... + 9 (seven bijective digits), more than any calendar needs.
inline constexpr std::int64_t kFirstDay = 1;
inline constexpr std::int64_t kLastDay = 5380839;
inline constexpr int kTopLevel = 26;
inline constexpr int kLongestInterval = 60;

// The days until the next review after reaching `level`: 1, 2, 4, 7, 15, 30, then 60 for good.
int ReviewInterval(int level);

// The schedule of a mark in the form above; nothing for any other text.
std::optional<ReviewSchedule> ReadSchedule(std::string_view mark);
// The mark of a schedule; its level and day are brought within their ranges first.
std::string WriteSchedule(ReviewSchedule schedule);

// The mark of a row answered right on `today`: one level up when it was reviewed on or after
// its due day, else (first mastered, or again after a miss) level 1, due the next day.
std::string MarkAfterRightAnswer(std::string_view mark, bool reviewed, std::int64_t today);

// The mark given at start-up to a mastered row whose schedule is not known: level 1, due on one
// of the next 30 days, spread evenly over the rows by their index.
std::string ScheduleForUnknownMark(int row, std::int64_t today);

// Whether a mastered row is due for review on a day: its due day has come, or lies more than the
// longest interval ahead (the clock was set back; the row must not wait for years). A mark of no
// schedule is not due. A review selection asks it of every row, so the due day is compared in its
// written form (bijective digits order as their numbers do: by length, then byte by byte): a row
// not yet due is told apart in a byte or two.
class DueOn {
public:
    explicit DueOn(std::int64_t today);
    bool operator()(std::string_view mark) const {
        if (mark.size() < 2 || mark.size() > 8 || mark[0] < 'a' || mark[0] > 'z') return false;
        const std::string_view day = mark.substr(1);
        if (After(day, m_today) && !After(day, m_lastNotDue)) return false;
        for (const char digit : day) {
            if (digit < '1' || digit > '9') return false;
        }
        return true;
    }

private:
    // Whether the written day `a` comes after `b`.
    static bool After(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return a.size() > b.size();
        for (std::size_t k = 0; k < a.size(); ++k) {
            if (a[k] != b[k]) return a[k] > b[k];
        }
        return false;
    }
    // The digits of the day and of the last day not yet due ("" before the first day a mark holds).
    std::string m_today;
    std::string m_lastNotDue;
};

inline bool IsDue(std::string_view mark, std::int64_t today) { return DueOn(today)(mark); }

}  // namespace zembra

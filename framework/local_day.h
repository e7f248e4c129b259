// The pupil's calendar day: a count of days that grows by one at each local midnight.
#pragma once

#include <cstdint>

namespace zembra {

// The days from 1970-01-01 to the given date of the proleptic Gregorian calendar (month 1..12).
constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The local calendar day of a moment given in seconds since the epoch, as a day number of
// DaysFromCivil. A moment the system cannot place in its calendar counts in whole UTC days.
std::int64_t LocalDay(std::int64_t secondsSinceEpoch);

}  // namespace zembra

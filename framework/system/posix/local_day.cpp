#include "framework/local_day.h"

#include <ctime>
#include <limits>

namespace zembra {

std::int64_t LocalDay(std::int64_t secondsSinceEpoch) {
    struct tm local {};
    const bool fits = secondsSinceEpoch >= std::numeric_limits<std::time_t>::min() &&
                      secondsSinceEpoch <= std::numeric_limits<std::time_t>::max();
    const std::time_t moment = static_cast<std::time_t>(secondsSinceEpoch);
    if (fits && localtime_r(&moment, &local)) {
        return DaysFromCivil(std::int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday);
    }
    // Floor division: a moment before the epoch is in the day before it.
    return secondsSinceEpoch / 86400 - (secondsSinceEpoch % 86400 < 0 ? 1 : 0);
}

}  // namespace zembra

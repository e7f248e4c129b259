#include "framework/local_day.h"

#include <ctime>

namespace zembra {

std::int64_t LocalDay(std::int64_t secondsSinceEpoch) {
    // The 64-bit form in both builds: the 32-bit program's time_t must not end in 2038.
    struct tm local {};
    const __time64_t moment = secondsSinceEpoch;
    if (_localtime64_s(&local, &moment) == 0) {
        return DaysFromCivil(std::int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday);
    }
    // Before 1970 or after 3000: whole UTC days, floor division.
    return secondsSinceEpoch / 86400 - (secondsSinceEpoch % 86400 < 0 ? 1 : 0);
}

}  // namespace zembra

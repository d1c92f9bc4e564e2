// Current date and time as broken-down records.
#include <algorithm>
#include <limits>

#include "runtime_internal.h"

namespace gr_runtime {

void fillDateTime(const std::tm& tm, GrDateTime* out) {
    out->second = std::min(tm.tm_sec, 59);  // a leap second reads as 59
    out->minute = tm.tm_min;
    out->hour = tm.tm_hour;
    out->day = tm.tm_mday;
    out->month = tm.tm_mon + 1;
    out->year = tm.tm_year + 1900;
    out->weekday = tm.tm_wday + 1;
    out->yearday = tm.tm_yday + 1;
    out->dst = tm.tm_isdst;
}

bool breakDownTime(int64_t t, bool local, GrDateTime* out) {
    if (out == nullptr) return false;
    if (t < static_cast<int64_t>(std::numeric_limits<time_t>::min()) ||
        t > static_cast<int64_t>(std::numeric_limits<time_t>::max()))
        return false;
    const time_t tt = static_cast<time_t>(t);
    std::tm tm{};
    if ((local ? localtime_r(&tt, &tm) : gmtime_r(&tt, &tm)) == nullptr) return false;
    fillDateTime(tm, out);
    return true;
}

}  // namespace gr_runtime

namespace {

void currentTime(bool local, GrDateTime* out) {
    if (out == nullptr) return;
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    if (!gr_runtime::breakDownTime(now, local, out)) {
        // Only reachable when the clock is unreadable: a zeroed record with
        // daylight saving unknown rather than stale memory.
        *out = GrDateTime{};
        out->dst = -1;
    }
}

}  // namespace

void grUtcTime(GrDateTime* out) { currentTime(false, out); }

void grLocalTime(GrDateTime* out) { currentTime(true, out); }

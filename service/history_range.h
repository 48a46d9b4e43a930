// The majors history range: the current New York trading day from 09:30 to the earlier of now
// and 16:00. On Saturday and Sunday it is Friday's whole session; on a weekday before 09:30 the
// range is empty (start not before end) and no request is made.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

struct WallClockRange {
  DateTime start;  // New York wall clock
  DateTime end;
};

// From New York wall-clock "now". Weekday of day number d is (d - 1) mod 7, 0 = Sunday.
// Date-times beyond about 146,000 years from 1899 give the empty range {0, 0}.
WallClockRange tradingDayRange(DateTime new_york_now) noexcept;

// Seconds since 1970-01-01 of a UTC date-time, computed in double precision as the host's own
// day-fraction arithmetic does, truncated toward zero (saturating).
std::int64_t unixSecondsOf(DateTime utc) noexcept;

struct UnixRange {
  std::int64_t start;
  std::int64_t end;
};

// The range for the host's market clock, converted New York -> host time -> "UTC+00" -> seconds.
UnixRange historyRangeSeconds(StudyHost& host);

}  // namespace ostrel

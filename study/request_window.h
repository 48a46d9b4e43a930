// The daily request window: profile requests go out only while the current time of day, in the
// zone the user chose, lies between the start and end times, both ends included. A window whose
// end lies before its start is never open; a start of 0 (or a slot that holds no time) is
// midnight, and so is an end of 0.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

// Second of the day, 0..86399, of a date-time (also for date-times before 1899-12-30).
std::int64_t secondOfDay(DateTime t) noexcept;

// Second of the day of a window bound read from a time-of-day slot; 0 for any other type.
std::int64_t windowBoundSecond(const StudyInput& slot) noexcept;

constexpr bool isWindowOpen(std::int64_t start_second, std::int64_t now_second,
                            std::int64_t end_second) noexcept {
  return start_second <= now_second && now_second <= end_second;
}

// CurrentTime in the "Time Zone" input's zone against "Request Start Time" and "Request End
// Time".
bool requestWindowOpen(StudyHost& host);

}  // namespace ostrel

// The market-hours clock and the New York rule that governs every market-hours decision
// (history range, conversion triggers), whatever zone the user chose for the request window.
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "host/time_units.h"

namespace ostrel {

constexpr const char* kNewYorkZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr const char* kUtcZone = "UTC+00";

// AltClockTime when UseAltClock is set, ClockTime otherwise.
inline DateTime marketClock(const StudyHost& host) noexcept {
  return host.UseAltClock != 0 ? host.AltClockTime : host.ClockTime;
}

// A date-time as its day number, time of day and weekday (0 = Sunday). The day is rounded
// toward negative infinity, so a time before the epoch still has a time of day in 0 .. 1 day.
struct CalendarPosition {
  std::int64_t day;
  DateTime time_of_day;
  std::int32_t weekday;
};

inline CalendarPosition calendarPosition(DateTime t) noexcept {
  std::int64_t day = t / kMicrosPerDay;
  DateTime time_of_day = t % kMicrosPerDay;
  if (time_of_day < 0) {
    time_of_day += kMicrosPerDay;
    --day;
  }
  std::int64_t weekday = (day - 1) % 7;
  if (weekday < 0) weekday += 7;
  return {day, time_of_day, static_cast<std::int32_t>(weekday)};
}

}  // namespace ostrel

// The market-hours clock and the New York rule that governs every market-hours decision
// (history range, conversion triggers), whatever zone the user chose for the request window.
#pragma once

#include "host/study_host.h"

namespace ostrel {

constexpr const char* kNewYorkZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr const char* kUtcZone = "UTC+00";

// AltClockTime when UseAltClock is set, ClockTime otherwise.
inline DateTime marketClock(const StudyHost& host) noexcept {
  return host.UseAltClock != 0 ? host.AltClockTime : host.ClockTime;
}

}  // namespace ostrel

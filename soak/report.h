// The soak's result and its one table: a row per day (calls, suspended calls, profile requests
// by outcome, majors history, futures conversions, faults, violations, heap and resident size
// at the day's end), the stretches the studies were hidden, the faults injected and survived
// per request kind and mode, and the violations. The last line reads "soak: N violations".
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "soak/requests.h"
#include "soak/violations.h"

namespace ostrel::soak {

struct SoakDay {
  std::string label;  // "Mon 2027-03-08"
  RequestCounters counters;
  std::int64_t heap_end = 0;  // bytes at the day's end (or the run's)
  std::int64_t rss_end = 0;
};

struct SoakFaultRow {
  std::string kind;  // "profile", "history", "conversion"
  std::vector<long> injected;
  std::vector<long> survived;
};

struct SoakResult {
  std::string title;
  std::vector<SoakDay> days;
  std::vector<std::string> fault_modes;
  std::vector<SoakFaultRow> faults;
  SoakViolations violations;
  long hides = 0;            // stretches of a hidden study, both charts
  long hides_on_answer = 0;  // ... that began with a call bringing an answer
  double wall_seconds = 0.0;
  double cpu_seconds = 0.0;          // the soak's own process
  double service_cpu_seconds = 0.0;  // the mock service's process
};

// Prints the table; violation times are formatted with `format_time` (Unix seconds -> text).
void printSoakReport(std::FILE* out, const SoakResult& result,
                     std::string (*format_time)(std::int64_t));

}  // namespace ostrel::soak

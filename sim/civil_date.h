// Proleptic Gregorian calendar arithmetic on day numbers counted from 1970-01-01 (Howard
// Hinnant's days_from_civil / civil_from_days), shared by the simulated host's zone rules, the
// replay's date-time reader and the mock service's New York clock. Valid for any date whose day
// number fits comfortably in int64; no allocation, no C library time functions.
#pragma once

#include <cstdint>

namespace ostrel::sim {

// Quotient rounded toward negative infinity (b > 0), so times before an epoch fall on the
// earlier day.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) noexcept {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days since 1970-01-01 of year-month-day (month 1..12, day 1..31).
inline std::int64_t daysFromCivil(std::int64_t y, int m, int d) noexcept {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct CivilDate {
  std::int64_t year;
  int month;  // 1..12
  int day;    // 1..31
};

// The date of the day that lies `z` days after 1970-01-01.
inline CivilDate civilFromDays(std::int64_t z) noexcept {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  CivilDate out;
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = yoe + era * 400 + (out.month <= 2 ? 1 : 0);
  return out;
}

inline bool isLeapYear(std::int64_t y) noexcept {
  return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

inline int daysInMonth(std::int64_t y, int m) noexcept {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

}  // namespace ostrel::sim

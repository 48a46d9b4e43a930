#include "mock/ny_time.h"

#include <cstdio>
#include <cstdlib>

#include "sim/civil_date.h"

namespace ostrel::mock {

namespace {

// Day number of the n-th Sunday (n >= 1) of a month.
std::int64_t nthSunday(std::int64_t year, int month, int n) noexcept {
  const std::int64_t first = sim::daysFromCivil(year, month, 1);
  const std::int64_t weekday = ((first + 4) % 7 + 7) % 7;  // 0 = Sunday
  return first + (7 - weekday) % 7 + 7 * (n - 1);
}

}  // namespace

std::int64_t newYorkOffset(std::int64_t t) noexcept {
  const std::int64_t year = sim::civilFromDays(sim::floorDiv(t, 86400)).year;
  // Daylight time starts at 02:00 EST (07:00 UTC) and ends at 02:00 EDT (06:00 UTC).
  const std::int64_t start = nthSunday(year, 3, 2) * 86400 + 7 * 3600;
  const std::int64_t end = nthSunday(year, 11, 1) * 86400 + 6 * 3600;
  return (t >= start && t < end) ? -4 * 3600 : -5 * 3600;
}

NewYorkTime toNewYork(std::int64_t t) noexcept {
  const std::int64_t local = t + newYorkOffset(t);
  NewYorkTime out;
  out.day = sim::floorDiv(local, 86400);
  out.second = local - out.day * 86400;
  return out;
}

std::int64_t fromNewYork(std::int64_t day, std::int64_t second) noexcept {
  const std::int64_t local = day * 86400 + second;
  const std::int64_t guess = local + 5 * 3600;
  return local - newYorkOffset(guess - 3600);
}

bool parseClockText(const std::string& text, std::int64_t& unix_seconds) noexcept {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  const int n =
      std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail);
  if (n == 5 || n == 6) {
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 ||
        s > 59) {
      return false;
    }
    const std::int64_t day = sim::daysFromCivil(y, mo, d);
    unix_seconds = fromNewYork(day, h * 3600 + mi * 60 + s);
    return true;
  }
  if (text.empty() || text.size() > 18) return false;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (end == nullptr || *end != '\0') return false;
  unix_seconds = value;
  return true;
}

std::string formatNewYork(std::int64_t t) {
  const NewYorkTime ny = toNewYork(t);
  const sim::CivilDate date = sim::civilFromDays(ny.day);
  char text[64];
  std::snprintf(
      text, sizeof text, "%04lld-%02d-%02d %02lld:%02lld:%02lld", static_cast<long long>(date.year),
      date.month, date.day, static_cast<long long>(ny.second / 3600),
      static_cast<long long>(ny.second / 60 % 60), static_cast<long long>(ny.second % 60));
  return text;
}

}  // namespace ostrel::mock

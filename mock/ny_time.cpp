#include "mock/ny_time.h"

#include <cstdio>
#include <cstdlib>

namespace ostrel::mock {

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) noexcept {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) noexcept {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) noexcept {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Day number of the n-th Sunday (n >= 1) of a month.
std::int64_t nthSunday(std::int64_t year, unsigned month, int n) noexcept {
  const std::int64_t first = daysFromCivil(year, month, 1);
  const std::int64_t weekday = ((first + 4) % 7 + 7) % 7;  // 0 = Sunday
  return first + (7 - weekday) % 7 + 7 * (n - 1);
}

}  // namespace

std::int64_t newYorkOffset(std::int64_t t) noexcept {
  std::int64_t year = 0;
  unsigned month = 0, day = 0;
  civilFromDays(floorDiv(t, 86400), year, month, day);
  // Daylight time starts at 02:00 EST (07:00 UTC) and ends at 02:00 EDT (06:00 UTC).
  const std::int64_t start = nthSunday(year, 3, 2) * 86400 + 7 * 3600;
  const std::int64_t end = nthSunday(year, 11, 1) * 86400 + 6 * 3600;
  return (t >= start && t < end) ? -4 * 3600 : -5 * 3600;
}

NewYorkTime toNewYork(std::int64_t t) noexcept {
  const std::int64_t local = t + newYorkOffset(t);
  NewYorkTime out;
  out.day = floorDiv(local, 86400);
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
    const std::int64_t day = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
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
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  civilFromDays(ny.day, y, m, d);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                static_cast<long long>(y), m, d, static_cast<long long>(ny.second / 3600),
                static_cast<long long>(ny.second / 60 % 60),
                static_cast<long long>(ny.second % 60));
  return text;
}

}  // namespace ostrel::mock

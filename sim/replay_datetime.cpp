#include "sim/replay_datetime.h"

#include "sim/civil_date.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kMicrosPerDay = 86400000000LL;
// 1970-01-01 counted from 1899-12-30.
constexpr std::int64_t kUnixEpochDay = 25569;

// Reads exactly `count` digits at `pos`.
bool digits(const char* text, std::size_t length, std::size_t pos, int count, int& value) {
  if (pos + static_cast<std::size_t>(count) > length) return false;
  value = 0;
  for (int i = 0; i < count; ++i) {
    const char c = text[pos + static_cast<std::size_t>(i)];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::int64_t dateTimeFromCivil(int year, int month, int day, std::int64_t micros) noexcept {
  return (daysFromCivil(year, month, day) + kUnixEpochDay) * kMicrosPerDay + micros;
}

bool parseDateTime(const char* text, std::size_t length, std::int64_t& out) noexcept {
  if (text == nullptr || length < 19) return false;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!digits(text, length, 0, 4, year) || text[4] != '-' || !digits(text, length, 5, 2, month) ||
      text[7] != '-' || !digits(text, length, 8, 2, day) || text[10] != ' ' ||
      !digits(text, length, 11, 2, hour) || text[13] != ':' ||
      !digits(text, length, 14, 2, minute) || text[16] != ':' ||
      !digits(text, length, 17, 2, second)) {
    return false;
  }
  std::int64_t fraction = 0;
  if (length > 19) {
    const std::size_t count = length - 20;
    if (text[19] != '.' || count < 1 || count > 6) return false;
    int part = 0;
    if (!digits(text, length, 20, static_cast<int>(count), part)) return false;
    fraction = part;
    for (std::size_t i = count; i < 6; ++i) fraction *= 10;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
      hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  const std::int64_t micros =
      ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000000 + fraction;
  out = dateTimeFromCivil(year, month, day, micros);
  return true;
}

}  // namespace ostrel::sim

#include "sim/zone_rule.h"

#include <limits>

#include "sim/civil_date.h"

namespace ostrel {
namespace sim {
namespace {

constexpr std::int64_t kMicrosPerSecond = 1000000;
constexpr std::int64_t kMicrosPerMinute = 60 * kMicrosPerSecond;
constexpr std::int64_t kMicrosPerHour = 60 * kMicrosPerMinute;
constexpr std::int64_t kMicrosPerDay = 24 * kMicrosPerHour;
// Day number of 1970-01-01, the epoch of the civil-date arithmetic below.
constexpr std::int64_t kUnixEpochDay = 25569;
// Beyond about 100,000 years from the epoch only the standard offset applies; inside, every
// intermediate value of the rule arithmetic stays far from the int64 limits.
constexpr std::int64_t kRuleLimit = 36525000LL * kMicrosPerDay;

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) noexcept {
  if (b > 0 && a > std::numeric_limits<std::int64_t>::max() - b) {
    return std::numeric_limits<std::int64_t>::max();
  }
  if (b < 0 && a < std::numeric_limits<std::int64_t>::min() - b) {
    return std::numeric_limits<std::int64_t>::min();
  }
  return a + b;
}

// Wall-clock date-time of a switch in year y.
std::int64_t switchWallTime(const ZoneSwitch& s, std::int64_t y) noexcept {
  const std::int64_t first = daysFromCivil(y, s.month, 1) + kUnixEpochDay;
  const std::int64_t firstWeekday = ((first - 1) % 7 + 7) % 7;
  std::int64_t offset = ((s.weekday - firstWeekday) % 7 + 7) % 7 + 7 * (s.week - 1);
  if (offset >= daysInMonth(y, s.month)) offset -= 7;  // week 5 in a month with only four
  return (first + offset) * kMicrosPerDay + s.time;
}

// Whether daylight time is in force at the UTC instant `utc` (|utc| within the rule limit).
// The year is that of the standard-time wall clock; its switch instants come from `memo` when
// it holds that year.
bool inDaylightTime(const ZoneRule& rule, std::int64_t utc, ZoneYearMemo& memo) noexcept {
  const std::int64_t standard = utc + rule.std_offset;
  if (standard < memo.year_begin || standard >= memo.year_end) {
    const std::int64_t year = civilFromDays(floorDiv(standard, kMicrosPerDay) - kUnixEpochDay).year;
    memo.year_begin = (daysFromCivil(year, 1, 1) + kUnixEpochDay) * kMicrosPerDay;
    memo.year_end = (daysFromCivil(year + 1, 1, 1) + kUnixEpochDay) * kMicrosPerDay;
    memo.dst_start = switchWallTime(rule.dst_start, year) - rule.std_offset;
    memo.dst_end = switchWallTime(rule.dst_end, year) - rule.std_offset - rule.dst_shift;
  }
  const std::int64_t start = memo.dst_start;
  const std::int64_t end = memo.dst_end;
  if (start <= end) return start <= utc && utc < end;
  return utc < end || start <= utc;  // summer spans the new year
}

bool withinRuleLimit(std::int64_t t) noexcept { return t >= -kRuleLimit && t <= kRuleLimit; }

// A small cursor over the text; every reader fails without moving past the end.
struct Cursor {
  const char* p;

  bool isDigit() const noexcept { return *p >= '0' && *p <= '9'; }
  bool isLetter() const noexcept { return (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); }
  bool take(char c) noexcept {
    if (*p != c) return false;
    ++p;
    return true;
  }
  bool name() noexcept {
    if (!isLetter()) return false;
    while (isLetter()) ++p;
    return true;
  }
  // One or two decimal digits.
  bool number(int& value) noexcept {
    if (!isDigit()) return false;
    value = *p++ - '0';
    if (isDigit()) value = value * 10 + (*p++ - '0');
    return true;
  }
  // hh[:mm[:ss]] with minutes and seconds below 60, at most 24:00:00.
  bool clock(std::int64_t& micros, bool allowSeconds) noexcept {
    int h = 0;
    int m = 0;
    int s = 0;
    if (!number(h)) return false;
    if (take(':')) {
      if (!number(m) || m > 59) return false;
      if (allowSeconds && take(':') && (!number(s) || s > 59)) return false;
    }
    micros = h * kMicrosPerHour + m * kMicrosPerMinute + s * kMicrosPerSecond;
    return micros <= kMicrosPerDay;
  }
  // A required sign, then hh[:mm].
  bool signedOffset(std::int64_t& micros) noexcept {
    const bool west = take('-');
    if (!west && !take('+')) return false;
    if (!clock(micros, /*allowSeconds=*/false)) return false;
    if (west) micros = -micros;
    return true;
  }
  bool rule(ZoneSwitch& s) noexcept {
    if (!take('M') || !number(s.month) || s.month < 1 || s.month > 12) return false;
    if (!take('.') || !number(s.week) || s.week < 1 || s.week > 5) return false;
    if (!take('.') || !number(s.weekday) || s.weekday > 6) return false;
    s.time = 2 * kMicrosPerHour;
    return !take('/') || clock(s.time, /*allowSeconds=*/true);
  }
};

}  // namespace

bool parseZoneRule(const char* text, ZoneRule& out) noexcept {
  ZoneRule rule;
  if (text == nullptr || *text == '\0') {
    out = rule;
    return true;
  }
  Cursor c{text};
  if (!c.name() || !c.signedOffset(rule.std_offset)) return false;
  if (*c.p != '\0') {
    if (!c.name()) return false;
    rule.has_dst = true;
    rule.dst_shift = kMicrosPerHour;
    if ((*c.p == '+' || *c.p == '-') && !c.signedOffset(rule.dst_shift)) return false;
    if (!c.take(',') || !c.rule(rule.dst_start)) return false;
    if (!c.take(',') || !c.rule(rule.dst_end)) return false;
    if (*c.p != '\0') return false;
  }
  out = rule;
  return true;
}

std::int64_t utcToLocal(const ZoneRule& rule, std::int64_t utc) noexcept {
  ZoneYearMemo memo;
  return utcToLocal(rule, utc, memo);
}

std::int64_t localToUtc(const ZoneRule& rule, std::int64_t local) noexcept {
  ZoneYearMemo memo;
  return localToUtc(rule, local, memo);
}

std::int64_t utcToLocal(const ZoneRule& rule, std::int64_t utc, ZoneYearMemo& memo) noexcept {
  if (!rule.has_dst || !withinRuleLimit(utc)) return saturatingAdd(utc, rule.std_offset);
  return utc + rule.std_offset + (inDaylightTime(rule, utc, memo) ? rule.dst_shift : 0);
}

std::int64_t localToUtc(const ZoneRule& rule, std::int64_t local, ZoneYearMemo& memo) noexcept {
  if (!rule.has_dst || !withinRuleLimit(local)) return saturatingAdd(local, -rule.std_offset);
  const std::int64_t asStandard = local - rule.std_offset;
  const std::int64_t asDaylight = asStandard - rule.dst_shift;
  const bool standardFits = !inDaylightTime(rule, asStandard, memo);
  const bool daylightFits = inDaylightTime(rule, asDaylight, memo);
  if (standardFits != daylightFits) return standardFits ? asStandard : asDaylight;
  // Both fit: an overlap, take the first occurrence. Neither: a gap, read with the offset in
  // force before the switch, the smaller one, which gives the later instant.
  const bool earlierIsStandard = asStandard < asDaylight;
  return standardFits == earlierIsStandard ? asStandard : asDaylight;
}

}  // namespace sim
}  // namespace ostrel

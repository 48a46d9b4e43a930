#include "service/history_range.h"

#include "host/host_calls.h"
#include "host/numeric.h"
#include "service/market_clock.h"

namespace ostrel {

namespace {

constexpr std::int64_t kDay = kMicrosPerDay;
constexpr std::int64_t kSessionOpen = 9 * kMicrosPerHour + 30 * kMicrosPerMinute;
constexpr std::int64_t kSessionClose = 16 * kMicrosPerHour;
// 2^62 microseconds: far beyond any real clock, and keeps every sum below in range.
constexpr std::int64_t kLimit = 4611686018427387904LL;

}  // namespace

WallClockRange tradingDayRange(DateTime new_york_now) noexcept {
  if (new_york_now > kLimit || new_york_now < -kLimit) return {0, 0};
  const CalendarPosition now = calendarPosition(new_york_now);
  const std::int64_t day = now.day;
  const std::int32_t weekday = now.weekday;
  std::int64_t trading_day = day;
  if (weekday == 6) trading_day = day - 1;
  if (weekday == 0) trading_day = day - 2;
  const DateTime close = trading_day * kDay + kSessionClose;
  DateTime end = close;
  if (trading_day == day && new_york_now < close) end = new_york_now;
  return {trading_day * kDay + kSessionOpen, end};
}

std::int64_t unixSecondsOf(DateTime utc) noexcept {
  return truncToInt64((static_cast<double>(utc) / 86400000000.0 - 25569.0) * 86400.0);
}

UnixRange historyRangeSeconds(StudyHost& host) {
  const DateTime now = host::hostTimeToZone(host, marketClock(host), kNewYorkZone);
  const WallClockRange range = tradingDayRange(now);
  const auto toSeconds = [&host](DateTime new_york) {
    const DateTime host_time = host::zoneTimeToHost(host, new_york, kNewYorkZone);
    return unixSecondsOf(host::hostTimeToZone(host, host_time, kUtcZone));
  };
  return {toSeconds(range.start), toSeconds(range.end)};
}

}  // namespace ostrel

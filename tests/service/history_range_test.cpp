#include "service/history_range.h"

#include <gtest/gtest.h>

#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;

TEST(HistoryRange, TradingDayOfEachWeekday) {
  struct Row {
    const char* label;
    std::int64_t now, start, end;
  } rows[] = {
      // 2026-03-14 is a Saturday.
      {"saturday", at(2026, 3, 14, 12, 0), at(2026, 3, 13, 9, 30), at(2026, 3, 13, 16, 0)},
      {"saturday 00:00", at(2026, 3, 14, 0, 0), at(2026, 3, 13, 9, 30), at(2026, 3, 13, 16, 0)},
      {"sunday", at(2026, 3, 15, 23, 59), at(2026, 3, 13, 9, 30), at(2026, 3, 13, 16, 0)},
      {"tuesday 08:00", at(2026, 3, 10, 8, 0), at(2026, 3, 10, 9, 30), at(2026, 3, 10, 8, 0)},
      {"tuesday 11:15", at(2026, 3, 10, 11, 15), at(2026, 3, 10, 9, 30), at(2026, 3, 10, 11, 15)},
      {"tuesday 17:00", at(2026, 3, 10, 17, 0), at(2026, 3, 10, 9, 30), at(2026, 3, 10, 16, 0)},
      {"friday 16:00", at(2026, 3, 13, 16, 0), at(2026, 3, 13, 9, 30), at(2026, 3, 13, 16, 0)},
      {"monday 09:30", at(2026, 3, 9, 9, 30), at(2026, 3, 9, 9, 30), at(2026, 3, 9, 9, 30)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const WallClockRange range = tradingDayRange(r.now);
    EXPECT_EQ(range.start, r.start);
    EXPECT_EQ(range.end, r.end);
  }
}

TEST(HistoryRange, ExtremeClocksGiveAnEmptyRange) {
  EXPECT_EQ(tradingDayRange(std::numeric_limits<std::int64_t>::max()).start, 0);
  EXPECT_EQ(tradingDayRange(std::numeric_limits<std::int64_t>::min()).end, 0);
  const WallClockRange early = tradingDayRange(-test::kHour);  // 1899-12-29, a Friday
  EXPECT_EQ(early.start, -86400000000LL + 9 * test::kHour + 30 * test::kMinute);
  EXPECT_EQ(early.end, -86400000000LL + 16 * test::kHour);
}

TEST(HistoryRange, UnixSeconds) {
  EXPECT_EQ(unixSecondsOf(at(1970, 1, 1, 0, 0)), 0);
  EXPECT_EQ(unixSecondsOf(at(2026, 3, 10, 13, 30)), 1773149400);
  // Day-fraction arithmetic: a time that is no exact binary fraction of a day can land just
  // below its second and is truncated to the one before (toward zero before 1970).
  EXPECT_EQ(unixSecondsOf(at(2026, 3, 10, 15, 15)), 1773155699);
  EXPECT_EQ(unixSecondsOf(at(1969, 12, 31, 23, 59, 59)), 0);
  EXPECT_EQ(unixSecondsOf(std::numeric_limits<std::int64_t>::max()),
            unixSecondsOf(std::numeric_limits<std::int64_t>::max()));  // defined
}

TEST(HistoryRange, ConvertedThroughTheHostsZones) {
  sim::SimHost sim;
  sim.host().ClockTime = at(2026, 3, 10, 11, 15);  // host zone New York (EDT)
  UnixRange range = historyRangeSeconds(sim.host());
  EXPECT_EQ(range.start, 1773149400);  // 13:30 UTC
  EXPECT_EQ(range.end, 1773155699);    // 15:15 UTC, truncated as above

  // The alternate clock, and a host in another zone: the range is still New York's session.
  sim.setHostZone("UTC+00");
  sim.host().UseAltClock = 1;
  sim.host().AltClockTime = at(2026, 3, 14, 2, 0);  // Saturday 02:00 UTC = Friday 22:00 NY
  sim.host().ClockTime = 0;
  range = historyRangeSeconds(sim.host());
  EXPECT_EQ(range.start, 1773408600);  // Friday 13:30 UTC
  EXPECT_EQ(range.end, 1773432000);    // Friday 20:00 UTC

  // Winter: New York is UTC-5.
  sim.setHostZone("EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00");
  sim.host().UseAltClock = 0;
  sim.host().ClockTime = at(2026, 1, 13, 12, 0);
  EXPECT_EQ(historyRangeSeconds(sim.host()).start, 1768314599);  // 14:30 UTC, truncated
}

}  // namespace
}  // namespace ostrel

#include "sim/zone_rule.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "study/zone_table.h"

namespace ostrel {
namespace sim {
namespace {

constexpr std::int64_t kMinute = 60000000;
constexpr std::int64_t kHour = 60 * kMinute;

std::int64_t fromUnix(std::int64_t seconds) { return seconds * 1000000 + 2209161600000000LL; }

ZoneRule zone(int index) {
  ZoneRule rule;
  // The strings the study hands the host, from its own table.
  EXPECT_TRUE(parseZoneRule(zoneString(index), rule)) << zoneString(index);
  return rule;
}

// Offsets (minutes east) of every zone at 2027-01-01 00:00 and 2027-07-01 00:00 UTC.
TEST(ZoneRule, EveryZoneInWinterAndSummer) {
  const int kOffsets[29][2] = {{0, 0},       {-600, -600}, {-540, -480}, {-480, -420}, {-420, -420},
                               {-420, -360}, {-360, -300}, {-300, -240}, {-240, -180}, {0, 0},
                               {0, 60},      {60, 120},    {120, 120},   {120, 180},   {180, 180},
                               {180, 180},   {240, 240},   {240, 240},   {300, 300},   {330, 330},
                               {360, 360},   {420, 420},   {480, 480},   {540, 540},   {600, 600},
                               {660, 600},   {720, 720},   {780, 720},   {0, 0}};
  const std::int64_t instants[2] = {fromUnix(1798761600), fromUnix(1814400000)};
  for (int i = 0; i < 29; ++i) {
    const ZoneRule rule = zone(i);
    for (int k = 0; k < 2; ++k) {
      const std::int64_t local = instants[k] + kOffsets[i][k] * kMinute;
      EXPECT_EQ(utcToLocal(rule, instants[k]), local) << "zone " << i << " instant " << k;
      EXPECT_EQ(localToUtc(rule, local), instants[k]) << "zone " << i << " instant " << k;
    }
  }
}

// UTC instants (Unix seconds) of the switches, cross-checked with the IANA zones for 2026-2028;
// 1890 and 1600 (before the day-number epoch, 1600 a leap century) by hand. Offsets alternate
// between `first` and `second`, starting at `first`.
struct SwitchRow {
  int zone;
  int first;
  int second;
  std::vector<std::int64_t> switches;
};
const std::vector<SwitchRow> kSwitches = {
    {2, -540, -480, {1772967600, 1793527200, 1805022000, 1825581600, 1836471600, 1857031200}},
    {3, -480, -420, {1772964000, 1793523600, 1805018400, 1825578000, 1836468000, 1857027600}},
    {5, -420, -360, {1772960400, 1793520000, 1805014800, 1825574400, 1836464400, 1857024000}},
    {6, -360, -300, {1772956800, 1793516400, 1805011200, 1825570800, 1836460800, 1857020400}},
    // 2026-03-08 07:00, 2026-11-01 06:00, ...
    {7, -300, -240, {1772953200, 1793512800, 1805007600, 1825567200, 1836457200, 1857016800}},
    {7, -300, -240, {-2518707600, -2498148000, -11669936400, -11649376800}},
    {8, -240, -180, {1772949600, 1793509200, 1805004000, 1825563600, 1836453600, 1857013200}},
    {10, 0, 60, {1774746000, 1792890000, 1806195600, 1824944400, 1837645200, 1856394000}},
    {11, 60, 120, {1774746000, 1792890000, 1806195600, 1824944400, 1837645200, 1856394000}},
    {13, 120, 180, {1774746000, 1792890000, 1806195600, 1824944400, 1837645200, 1856394000}},
    // 2026-04-04 16:00 (summer ends), 2026-10-03 16:00 (summer starts), ...
    {25, 660, 600, {1775318400, 1791043200, 1806768000, 1822492800, 1838217600, 1853942400}},
    {25, 660, 600, {-2516342400, -2500617600, -11668176000, -11652451200}},
    {27, 780, 720, {1775311200, 1790431200, 1806760800, 1821880800, 1838210400, 1853330400}},
};

// Each switch: the offset on both sides, and the wall times around it. Whether the switch
// opens a gap or an overlap, a wall time before the end of the affected hour is read with the
// offset before the switch (gap: the offset in force before it; overlap: first occurrence).
TEST(ZoneRule, SwitchesOnBothSides) {
  for (const SwitchRow& row : kSwitches) {
    const ZoneRule rule = zone(row.zone);
    for (std::size_t i = 0; i < row.switches.size(); ++i) {
      const std::int64_t t = fromUnix(row.switches[i]);
      const bool even = i % 2 == 0;
      const std::int64_t before = (even ? row.first : row.second) * kMinute;
      const std::int64_t after = (even ? row.second : row.first) * kMinute;
      SCOPED_TRACE("zone " + std::to_string(row.zone) + " switch " + std::to_string(i));
      EXPECT_EQ(utcToLocal(rule, t - 1), t - 1 + before);
      EXPECT_EQ(utcToLocal(rule, t), t + after);
      const std::int64_t lo = t + (before < after ? before : after);
      const std::int64_t hi = t + (before < after ? after : before);
      for (std::int64_t x : {lo - 1, lo, lo + 30 * kMinute, hi - 1, hi, hi + kHour}) {
        EXPECT_EQ(localToUtc(rule, x), x < hi ? x - before : x - after) << x - lo;
      }
    }
  }
}

TEST(ZoneRule, NewYorkGapAndOverlap) {
  const ZoneRule ny = zone(7);
  const std::int64_t gap = fromUnix(1772953200) - 5 * kHour + 30 * kMinute;      // 03-08 02:30
  EXPECT_EQ(localToUtc(ny, gap), gap + 5 * kHour);                               // read as EST
  EXPECT_EQ(utcToLocal(ny, localToUtc(ny, gap)), gap + kHour);                   // shows 03:30 EDT
  const std::int64_t overlap = fromUnix(1793512800) - 4 * kHour - 30 * kMinute;  // 11-01 01:30
  EXPECT_EQ(localToUtc(ny, overlap), overlap + 4 * kHour);                       // first: EDT
}

// Every wall time round-trips, except those inside a spring-forward gap, which come back one
// shift later. Steps of 37 minutes over 2026-2028 hit every minute phase of the switch hours.
TEST(ZoneRule, WallTimesRoundTripOutsideGaps) {
  for (int i = 0; i < 29; ++i) {
    const ZoneRule rule = zone(i);
    std::vector<std::pair<std::int64_t, std::int64_t>> gaps;
    for (const SwitchRow& row : kSwitches) {
      if (row.zone != i) continue;
      for (std::size_t k = 0; k < row.switches.size(); ++k) {
        const int before = k % 2 == 0 ? row.first : row.second;
        const int after = k % 2 == 0 ? row.second : row.first;
        const std::int64_t t = fromUnix(row.switches[k]);
        if (after > before) gaps.emplace_back(t + before * kMinute, t + after * kMinute);
      }
    }
    int gapHits = 0;
    for (std::int64_t x = fromUnix(1764547200); x < fromUnix(1861920000); x += 37 * kMinute) {
      bool inGap = false;
      for (const auto& g : gaps) inGap = inGap || (x >= g.first && x < g.second);
      const std::int64_t back = utcToLocal(rule, localToUtc(rule, x));
      EXPECT_EQ(back, inGap ? x + rule.dst_shift : x) << "zone " << i << " at " << x;
      gapHits += inGap ? 1 : 0;
    }
    if (!gaps.empty()) {
      EXPECT_GT(gapHits, 0) << "zone " << i;
    }
  }
}

// "Week 5" is the last such weekday: the 29th of a leap February, else a week earlier.
TEST(ZoneRule, LastWeekdayOfFebruary) {
  ZoneRule r;
  ASSERT_TRUE(parseZoneRule("AAA+00BBB+01,M2.5.2/00:00,M10.1.0", r));  // last Tuesday
  const std::int64_t kCases[][2] = {{1835395199, 0},
                                    {1835395200, 1},  // 2028-02-29
                                    {1803340799, 0},
                                    {1803340800, 1}};  // 2027-02-23
  for (const auto& c : kCases) {
    EXPECT_EQ(utcToLocal(r, fromUnix(c[0])), fromUnix(c[0]) + c[1] * kHour) << c[0];
  }
}

TEST(ZoneRule, ParsesVariants) {
  ZoneRule r;
  ASSERT_TRUE(parseZoneRule("IST+05:30", r));
  EXPECT_EQ(r.std_offset, 330 * kMinute);
  EXPECT_FALSE(r.has_dst);

  ASSERT_TRUE(parseZoneRule(nullptr, r));
  EXPECT_EQ(r.std_offset, 0);

  // Shift and switch times default to one hour and 02:00.
  ASSERT_TRUE(parseZoneRule("est-05edt,M3.2.0,M11.1.0", r));
  EXPECT_EQ(r.std_offset, -5 * kHour);
  EXPECT_EQ(r.dst_shift, kHour);
  EXPECT_EQ(r.dst_start.time, 2 * kHour);
  EXPECT_EQ(r.dst_end.time, 2 * kHour);

  ASSERT_TRUE(parseZoneRule("XYZ+03:45ABC-00:30,M1.5.6/24:00,M12.1.0/00:01:59", r));
  EXPECT_EQ(r.std_offset, 225 * kMinute);
  EXPECT_EQ(r.dst_shift, -30 * kMinute);
  EXPECT_EQ(r.dst_start.month, 1);
  EXPECT_EQ(r.dst_start.week, 5);
  EXPECT_EQ(r.dst_start.weekday, 6);
  EXPECT_EQ(r.dst_start.time, 24 * kHour);
  EXPECT_EQ(r.dst_end.month, 12);
  EXPECT_EQ(r.dst_end.time, kMinute + 59000000);
}

TEST(ZoneRule, RejectsMalformedTextAndKeepsTheRule) {
  const char* const kBad[] = {"EST",
                              "EST5",
                              "EST-5:",
                              "EST-05:60",
                              "EST-25",
                              "EST-123",
                              "-05",
                              "EST-05 ",
                              "E5T-05",
                              "EST-05EDT",
                              "EST-05EDT+01",
                              "EST-05EDT+01,M3.2.0",
                              "EST-05EDT+01,M3.2.0,",
                              "EST-05EDT+,M3.2.0,M11.1.0",
                              "EST-05EDT+01,M3.2.0,M11.1.0,",
                              "EST-05EDT+01,J60,J300",
                              "EST-05EDT+01,60,300",
                              "EST-05EDT+01,M0.2.0,M11.1.0",
                              "EST-05EDT+01,M13.2.0,M11.1.0",
                              "EST-05EDT+01,M3.0.0,M11.1.0",
                              "EST-05EDT+01,M3.6.0,M11.1.0",
                              "EST-05EDT+01,M3.2.7,M11.1.0",
                              "EST-05EDT+01,M3.2.0/25:00,M11.1.0",
                              "EST-05EDT+01,M3.2.0/02:60,M11.1.0",
                              "EST-05EDT+01,M3.2.0/24:00:01,M11.1.0",
                              "EST-05EDT+01,M3.2.0/,M11.1.0",
                              "EST-05EDT+01,M3.2.0/002:00,M11.1.0",
                              "<+05>+05",
                              "EST\xff-05",
                              "EST-05\nEDT"};
  for (const char* text : kBad) {
    ZoneRule r;
    r.std_offset = 12345;
    EXPECT_FALSE(parseZoneRule(text, r)) << text;
    EXPECT_EQ(r.std_offset, 12345) << text;
  }
}

// Random bytes and mutations of a valid text: parsing and converting never misbehave (run
// under the sanitizers), and the extremes of the date-time range saturate instead of wrapping.
TEST(ZoneRule, SurvivesArbitraryInputAndExtremes) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::mt19937 rng(20260308);
  const std::string base = zoneString(25);
  static const char kAlphabet[] = "+-:,./M0123456789AZ\x80";
  for (int n = 0; n < 20000; ++n) {
    std::string text = base;
    if (n % 2 == 0) {
      text.assign(rng() % 48, '\0');
      for (char& ch : text) ch = static_cast<char>(rng() % 255 + 1);
    } else {
      for (int m = 0; m < 1 + n % 3; ++m) {
        text[rng() % text.size()] = kAlphabet[rng() % (sizeof(kAlphabet) - 1)];
      }
    }
    ZoneRule r;
    if (!parseZoneRule(text.c_str(), r)) continue;
    for (std::int64_t t : {kMin, kMin + 1, std::int64_t{-1}, std::int64_t{0}, kMax - 1, kMax}) {
      utcToLocal(r, t);
      localToUtc(r, t);
    }
  }
  EXPECT_EQ(utcToLocal(zone(19), kMax), kMax);
  EXPECT_EQ(localToUtc(zone(19), kMin), kMin);
  EXPECT_EQ(utcToLocal(zone(1), kMin), kMin);
  EXPECT_EQ(utcToLocal(zone(7), kMax), kMax - 5 * kHour);
}

}  // namespace
}  // namespace sim
}  // namespace ostrel

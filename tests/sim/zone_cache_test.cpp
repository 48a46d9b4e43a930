#include "sim/zone_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sim/replay_datetime.h"
#include "sim/zone_rule.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kHour = 3600LL * 1000000;
constexpr const char* kNewYork = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr const char* kSydney = "AEST+10AEDT+01,M10.1.0/02:00,M4.1.0/03:00";
constexpr const char* kLondon = "GMT+00BST+01,M3.5.0/01:00,M10.5.0/02:00";

// A memo carried through a run of conversions that jumps between years, switch days, the
// distant past and the extremes answers exactly what a fresh conversion answers each time.
TEST(ZoneYearMemo, ReusedMemoAnswersAsAFreshConversion) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::vector<std::int64_t> times = {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax};
  for (int year : {-4000, 1, 1899, 1970, 2024, 2026, 2027, 9999, 30000}) {
    for (int month : {1, 3, 4, 10, 11, 12}) {
      for (int day : {1, 5, 8, 14, 27, 28}) {
        const std::int64_t midnight = dateTimeFromCivil(year, month, day, 0);
        for (std::int64_t h = -1; h <= 4; ++h) times.push_back(midnight + h * kHour + 1800000000);
      }
    }
  }
  std::mt19937_64 rng(7);
  std::shuffle(times.begin(), times.end(), rng);
  for (const char* text :
       {kNewYork, kSydney, kLondon, "UTC+00", "NZST+12NZDT+01,M9.5.0/02:00,M4.1.0/03:00"}) {
    ZoneRule rule;
    ASSERT_TRUE(parseZoneRule(text, rule)) << text;
    ZoneYearMemo memo;
    for (std::int64_t t : times) {
      ASSERT_EQ(utcToLocal(rule, t, memo), utcToLocal(rule, t)) << text << " " << t;
      ASSERT_EQ(localToUtc(rule, t, memo), localToUtc(rule, t)) << text << " " << t;
    }
  }
}

TEST(ZoneCache, ConvertsThroughUtcAndKeepsTheTimeForNoZoneOrABadOne) {
  ZoneCache zones;
  ASSERT_TRUE(zones.setHostZone(kNewYork));
  const std::int64_t summer = dateTimeFromCivil(2026, 7, 1, 9 * kHour);
  const std::int64_t winter = dateTimeFromCivil(2026, 1, 1, 9 * kHour);
  struct Case {
    const char* zone;
    std::int64_t in;
    bool to_zone;
    bool ok;
    std::int64_t out;
  };
  const Case cases[] = {
      {"UTC+00", summer, true, true, summer + 4 * kHour},
      {"UTC+00", winter, true, true, winter + 5 * kHour},
      {"UTC+00", summer + 4 * kHour, false, true, summer},
      {kSydney, winter, true, true, winter + 16 * kHour},  // southern summer: UTC+11
      {kSydney, summer, true, true, summer + 14 * kHour},
      {nullptr, summer, true, true, summer},
      {"", summer, false, true, summer},
      {"EST5EDT", summer, true, false, summer},  // west-positive offset: not a zone text
      {"EST5EDT", summer, true, false, summer},  // the failed parse is kept, and fails again
  };
  for (const Case& c : cases) {
    std::int64_t t = c.in;
    EXPECT_EQ(zones.convert(t, c.zone, c.to_zone), c.ok) << (c.zone ? c.zone : "null");
    EXPECT_EQ(t, c.out) << (c.zone ? c.zone : "null");
  }
  EXPECT_FALSE(zones.setHostZone("not a zone"));  // the host zone stays New York
  std::int64_t t = summer;
  zones.convert(t, "UTC+00", true);
  EXPECT_EQ(t, summer + 4 * kHour);
}

// Texts are matched by content: the same buffer rewritten with another zone converts with the
// new zone, and more distinct texts than the cache keeps still convert right.
TEST(ZoneCache, MatchesTextsByContentAndSurvivesManyDistinctTexts) {
  ZoneCache zones;
  ASSERT_TRUE(zones.setHostZone("UTC+00"));
  const std::int64_t noon = dateTimeFromCivil(2026, 1, 10, 12 * kHour);
  char buffer[16];
  std::strcpy(buffer, "JST+09");
  std::int64_t t = noon;
  zones.convert(t, buffer, true);
  EXPECT_EQ(t, noon + 9 * kHour);
  std::strcpy(buffer, "HKT+08");
  t = noon;
  zones.convert(t, buffer, true);
  EXPECT_EQ(t, noon + 8 * kHour);
  for (std::size_t i = 0; i < 3 * ZoneCache::kLimit; ++i) {
    const int minutes = static_cast<int>(i % 60);
    const int hours = static_cast<int>(i / 60);
    const std::string text =
        "X+0" + std::to_string(hours) + ":" + (minutes < 10 ? "0" : "") + std::to_string(minutes);
    t = noon;
    ASSERT_TRUE(zones.convert(t, text.c_str(), true)) << text;
    EXPECT_EQ(t, noon + hours * kHour + minutes * 60000000LL) << text;
  }
}

}  // namespace
}  // namespace ostrel::sim

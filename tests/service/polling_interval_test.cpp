#include "service/polling_interval.h"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

constexpr std::int64_t kS = 1000000;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(PollingInterval, DueFromTheStartOfTheLastRequest) {
  const std::int64_t start = 46000000000000LL;  // some 10:00:00.000000
  struct Row {
    std::int64_t now, last;
    std::int32_t interval;
    bool due;
  } rows[] = {
      {start + 5 * kS - 1, start, 5, false},
      {start + 5 * kS, start, 5, true},
      {start, 0, 5, true},  // never requested
      {start, start, 0, true},
      {start, start, -3, true},
      {start - kS, start, 0, true},             // clock went back: due at once
      {start - 3 * 3600 * kS, start, 5, true},  // three hours back
      {start - 1, start, 2147483647, true},
      {start + 100 * kS, start, 2147483647, false},
      {start + 2147483647LL * kS, start, 2147483647, true},
      {kMax, kMin, 5, true},
      {kMin, kMax, -2147483647 - 1, true},
      {kMin, 1, 0, true},
      {kMax, kMin + 1, 2147483647, true},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(profileRequestDue(r.now, r.last, r.interval), r.due)
        << r.now << " " << r.last << " " << r.interval;
  }
}

}  // namespace
}  // namespace ostrel

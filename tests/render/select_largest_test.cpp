#include "render/select_largest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace ostrel {
namespace {

using Pairs = std::vector<std::pair<float, float>>;

Pairs select(const std::vector<float>& strikes, const std::vector<float>& values,
             LargestCounts counts) {
  std::vector<StrikeBar> out{{1.0f, 1.0f}};  // stale contents must go
  selectLargest(strikes, values, counts, out);
  Pairs pairs;
  for (const StrikeBar& bar : out) pairs.emplace_back(bar.strike, bar.value);
  return pairs;
}

struct Case {
  const char* name;
  std::vector<float> strikes;
  std::vector<float> values;
  LargestCounts counts;
  Pairs expected;
};

TEST(SelectLargest, KeepsLargestOfEachSignInOrderOfSize) {
  const std::vector<float> strikes{10, 20, 30, 40, 50};
  const std::vector<float> values{100, -50, 0, 300, -400};
  const Case cases[] = {
      {"show all", strikes, values, {0, 0}, {{40, 300}, {10, 100}, {50, -400}, {20, -50}}},
      {"one of each", strikes, values, {1, 1}, {{40, 300}, {50, -400}}},
      {"count above length",
       strikes,
       values,
       {7, 9},
       {{40, 300}, {10, 100}, {50, -400}, {20, -50}}},
      {"negative count keeps all",
       strikes,
       values,
       {-3, -3},
       {{40, 300}, {10, 100}, {50, -400}, {20, -50}}},
      {"positive side cut only", strikes, values, {1, 0}, {{40, 300}, {50, -400}, {20, -50}}},
      {"negative side cut only", strikes, values, {0, 1}, {{40, 300}, {10, 100}, {50, -400}}},
      {"only positives", {1, 2, 3}, {5, 7, 6}, {0, 2}, {{2, 7}, {3, 6}, {1, 5}}},
      {"empty", {}, {}, {0, 0}, {}},
      {"values shorter than strikes", {1, 2, 3}, {4}, {0, 0}, {{1, 4}}},
      {"zero and negative zero dropped", {1, 2, 3}, {0.0f, -0.0f, 2}, {0, 0}, {{3, 2}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(select(c.strikes, c.values, c.counts), c.expected) << c.name;
  }
}

TEST(SelectLargest, NanValuesAreDroppedAndInfinitiesSortFirst) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Pairs got = select({1, 2, 3, 4, 5}, {nan, 3, inf, -inf, -1}, {0, 0});
  EXPECT_EQ(got, (Pairs{{3, inf}, {2, 3}, {4, -inf}, {5, -1}}));
}

TEST(SelectLargest, LargeProfileIsSortedWithoutLosingPairs) {
  std::vector<float> strikes;
  std::vector<float> values;
  for (int i = 0; i < 5000; ++i) {
    strikes.push_back(static_cast<float>(i));
    values.push_back(static_cast<float>((i * 7919) % 2001 - 1000));
  }
  std::vector<StrikeBar> out;
  selectLargest(strikes, values, {0, 0}, out);
  std::size_t nonZero = 0;
  for (float v : values) nonZero += v != 0.0f ? 1 : 0;
  ASSERT_EQ(out.size(), nonZero);
  for (std::size_t i = 1; i < out.size(); ++i) {
    const StrikeBar& a = out[i - 1];
    const StrikeBar& b = out[i];
    if (a.value > 0 && b.value > 0) {
      EXPECT_GE(a.value, b.value);
    }
    if (a.value < 0 && b.value < 0) {
      EXPECT_LE(a.value, b.value);
    }
    EXPECT_FALSE(a.value < 0 && b.value > 0);
    EXPECT_EQ(values[static_cast<std::size_t>(b.strike)], b.value);
  }
}

}  // namespace
}  // namespace ostrel

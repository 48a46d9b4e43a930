#include "demo/label_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ostrel::demo {
namespace {

struct Case {
  const char* name;
  std::vector<double> wanted;
  std::vector<double> placed;
};

TEST(SpreadLabels, MovesLabelsApartOnlyAsFarAsNeeded) {
  // Height 10, gap 2 (pitch 12), range [0, 100]: centres between 5 and 95.
  const Case cases[] = {
      {"none", {}, {}},
      {"apart already", {20, 60, 40}, {20, 60, 40}},
      {"two on one level", {50, 50}, {50, 62}},
      {"a cluster pushed down", {30, 31, 32}, {30, 42, 54}},
      {"held inside at the bottom", {94, 95, 96}, {71, 83, 95}},
      {"held inside at the top", {-10, 0}, {5, 17}},
      {"order kept for unsorted input", {40, 10, 39}, {51, 10, 39}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<double> placed = spreadLabels(c.wanted, 10.0, 2.0, 0.0, 100.0);
    ASSERT_EQ(placed.size(), c.placed.size());
    for (std::size_t i = 0; i < placed.size(); ++i) EXPECT_DOUBLE_EQ(placed[i], c.placed[i]) << i;
  }
}

TEST(SpreadLabels, NeverOverlapWhenTheyFitAndSpreadEvenlyWhenNot) {
  std::vector<double> wanted;
  for (int i = 0; i < 8; ++i) wanted.push_back(300.0 + (i * 37 % 11));  // a tight jumble
  std::vector<double> placed = spreadLabels(wanted, 18.0, 2.0, 0.0, 400.0);
  std::sort(placed.begin(), placed.end());
  for (std::size_t i = 1; i < placed.size(); ++i) EXPECT_GE(placed[i] - placed[i - 1], 20.0 - 1e-9);
  EXPECT_GE(placed.front(), 9.0);
  EXPECT_LE(placed.back(), 391.0);

  // 10 labels of pitch 20 in 100 pixels cannot fit: evenly from the first centre to the last.
  const std::vector<double> crowded =
      spreadLabels(std::vector<double>(10, 50.0), 18.0, 2.0, 0.0, 100.0);
  for (std::size_t i = 0; i < crowded.size(); ++i) {
    EXPECT_NEAR(crowded[i], 9.0 + 82.0 / 9.0 * static_cast<double>(i), 1e-9);
  }
}

}  // namespace
}  // namespace ostrel::demo

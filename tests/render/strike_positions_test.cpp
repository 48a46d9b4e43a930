#include "render/strike_positions.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace ostrel {
namespace {

TEST(StrikePositions, LastIndexOfAnExactlyEqualStrike) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> strikes{5000.0f, -0.0f, 5010.0f, 5000.0f, nan, 0.0f, 5000.25f};
  StrikePositions positions;
  positions.build(strikes);
  struct Case {
    float strike;
    std::int64_t position;
  };
  const Case cases[] = {
      {5000.0f, 3}, {0.0f, 5},     {-0.0f, 5},    {5010.0f, 2}, {5000.25f, 6},
      {nan, -1},    {4999.0f, -1}, {9999.0f, -1}, {-1.0f, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(positions.find(c.strike), c.position) << c.strike;

  positions.build(std::vector<float>{});
  EXPECT_EQ(positions.find(5000.0f), -1);
}

// The by-index look-up must agree with the by-strike one on every kind of sequence: strictly
// ascending (built without sorting), repeated strikes, signed zeros, NaN, descending.
TEST(StrikePositions, LookUpByIndexAgreesWithLookUpByStrike) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<std::vector<float>> sequences = {
      {4990.0f, 4995.0f, 5000.0f, 5005.0f},
      {5000.0f, 4995.0f, 5000.0f, 4990.0f, 5000.0f},
      {0.0f, -0.0f, 1.0f},
      {4990.0f, nan, 5000.0f, nan},
      {5005.0f, 5000.0f, 4995.0f},
      {5000.0f, 5000.0f},
  };
  StrikePositions positions;
  for (const std::vector<float>& strikes : sequences) {
    positions.build(strikes);
    for (std::size_t i = 0; i < strikes.size(); ++i) {
      EXPECT_EQ(positions.findAt(i), positions.find(strikes[i])) << "index " << i;
    }
    EXPECT_EQ(positions.findAt(strikes.size()), -1);
  }
  EXPECT_EQ(positions.findAt(1), 1);  // the last sequence: both 5000s lead to index 1
  EXPECT_EQ(positions.findAt(0), 1);
}

}  // namespace
}  // namespace ostrel

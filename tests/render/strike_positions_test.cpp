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

}  // namespace
}  // namespace ostrel

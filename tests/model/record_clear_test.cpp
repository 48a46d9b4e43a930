#include <gtest/gtest.h>

#include "model/gex_data.h"
#include "model/greek_data.h"
#include "model_test_support.h"

namespace ostrel {
namespace {

TEST(GexDataClear, EmptiesEverythingAndKeepsSequenceCapacity) {
  GexData d;
  test::dirty(d);
  d.strike_prices.assign(64, 1.0f);
  d.priors.assign(320, 1.0f);
  d.max_priors.assign(5, std::vector<float>{5000.0f, 12.5f});
  const float* strikes_storage = d.strike_prices.data();
  const float* priors_storage = d.priors.data();

  d.clear();
  test::expectCleared(d);
  EXPECT_GE(d.strike_prices.capacity(), 64u);
  EXPECT_GE(d.priors.capacity(), 320u);

  // A refill of the same size reuses the storage.
  d.strike_prices.assign(64, 2.0f);
  d.priors.assign(320, 2.0f);
  EXPECT_EQ(d.strike_prices.data(), strikes_storage);
  EXPECT_EQ(d.priors.data(), priors_storage);

  d.clear();
  d.clear();  // twice in a row is harmless
  test::expectCleared(d);
}

TEST(GreekDataClear, EmptiesEverythingAndKeepsSequenceCapacity) {
  GreekData d;
  test::dirty(d);
  d.value1.assign(40, 1.0f);
  d.value2.assign(40, 1.0f);
  d.clear();
  test::expectCleared(d);
  EXPECT_GE(d.value1.capacity(), 40u);
  EXPECT_GE(d.value2.capacity(), 40u);
  d.clear();
  test::expectCleared(d);
}

}  // namespace
}  // namespace ostrel

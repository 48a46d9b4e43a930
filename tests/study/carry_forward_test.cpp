#include "study/carry_forward.h"

#include <gtest/gtest.h>

#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

class CarryForward : public test::StudyTest {
 protected:
  void fill(std::int32_t bar, float base) {
    for (std::int32_t i = 0; i < 19; ++i) sim.subgraph(i).value(bar) = base + static_cast<float>(i);
  }
};

TEST_F(CarryForward, NewBarInheritsAllNineteenSubgraphs) {
  const std::int32_t last = sim.host().BarCount - 1;
  fill(last - 1, 512.25f);
  sim.subgraph(7).value(last - 1) = -3.0f;  // negative values are carried too
  sim.subgraph(0).value(last) = 0.0f;
  sim.subgraph(5).value(last) = 99.0f;      // overwritten
  sim.subgraph(19).value(last - 1) = 7.0f;  // beyond the study's subgraphs: untouched
  carryForwardLevels(sim.host());
  for (std::int32_t i = 0; i < 19; ++i) {
    EXPECT_EQ(sim.subgraph(i).value(last), sim.subgraph(i).value(last - 1)) << i;
  }
  EXPECT_EQ(sim.subgraph(19).value(last), 0.0f);
  EXPECT_EQ(sim.subgraph(0).colour(last), 0u);
}

TEST_F(CarryForward, NothingCopiedUnlessLastIsZeroAndPreviousPositive) {
  const std::int32_t last = sim.host().BarCount - 1;
  struct Row {
    float previous, current;
  } rows[] = {{0.0f, 0.0f}, {-1.0f, 0.0f}, {512.25f, 1.0f}, {512.25f, -0.5f}};
  for (const Row& r : rows) {
    fill(last - 1, 100.0f);
    sim.subgraph(0).value(last - 1) = r.previous;
    for (std::int32_t i = 0; i < 19; ++i) sim.subgraph(i).value(last) = 0.0f;
    sim.subgraph(0).value(last) = r.current;
    carryForwardLevels(sim.host());
    EXPECT_EQ(sim.subgraph(0).value(last), r.current) << r.previous << " " << r.current;
    EXPECT_EQ(sim.subgraph(1).value(last), 0.0f) << r.previous << " " << r.current;
  }
}

TEST_F(CarryForward, SingleBarOrNoBarsCopyNothing) {
  sim.setBars(test::at(2026, 3, 10, 9, 30), test::kMinute, 1);
  sim.subgraph(1).value(0) = 5.0f;
  carryForwardLevels(sim.host());
  EXPECT_EQ(sim.subgraph(1).value(0), 5.0f);
  sim.setBars(0, test::kMinute, 0);
  carryForwardLevels(sim.host());
}

}  // namespace
}  // namespace ostrel

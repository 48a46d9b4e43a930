#include "render/draw_priors.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "render_test_support.h"

namespace ostrel::test {
namespace {

ProfileLayout markerLayout(std::int32_t direction, std::int32_t origin, float scale) {
  ProfileLayout layout;
  layout.width = 2;
  layout.scale = scale;
  layout.direction = direction;
  layout.originPercent = origin;
  layout.dotStyle = 1;
  layout.dotSize = 1.0f;
  layout.maxValue = 100.0f;
  return layout;
}

PriorDots gexDots() {
  PriorDots dots;
  dots.count = 5;
  dots.shown = {0, 1, 0, 1, 0};
  dots.colours = {rgb(255, 255, 255), rgb(255, 255, 255), rgb(0, 162, 222), rgb(0, 108, 192),
                  rgb(0, 52, 148)};
  return dots;
}

class DrawPriorsTest : public RenderTest {
 protected:
  const sim::CallRecord& draw(const std::vector<float>& priors, const ProfileLayout& layout,
                              std::int32_t first, std::int32_t count,
                              const sim::CallScript& script = sim::CallScript()) {
    key_ = 8;
    const PriorDots dots = gexDots();
    return run(
        [&](StudyHost& h) { drawPriors(h, key_, 6000.0f, priors, dots, layout, first, count); },
        script);
  }
  std::int32_t key_ = 8;
};

TEST_F(DrawPriorsTest, EveryPriorTakesASlotHiddenOrNot) {
  const sim::CallRecord& rec = draw({1, 2, 3, 4, 5}, markerLayout(2, 75, 1.0f), 0, 5);
  ASSERT_EQ(rec.placed.size(), 5u);
  EXPECT_EQ(key_, 13);
  const std::uint16_t hidden[] = {1, kUnsetShort, 1, kUnsetShort, 1};
  for (std::size_t j = 0; j < 5; ++j) {
    const DrawingSpec& spec = rec.placed[j].spec;
    EXPECT_EQ(spec.Hidden, hidden[j]) << j;
    EXPECT_EQ(spec.DrawingType, kDrawingMarker);
    EXPECT_EQ(spec.ChartNumber, 1);
    EXPECT_EQ(spec.MarkerType, 14);
    EXPECT_EQ(spec.MarkerSize, 1);
    EXPECT_EQ(spec.Color, gexDots().colours[j]);
    EXPECT_FLOAT_EQ(spec.BeginValue, 6000.0f);
    EXPECT_EQ(spec.BeginTime, units(113 + static_cast<std::int32_t>(j) + 1));
    EXPECT_EQ(stored(8 + static_cast<std::int32_t>(j)), static_cast<std::int32_t>(j) + 1);
  }
  EXPECT_EQ(stored(6), 12);
}

TEST_F(DrawPriorsTest, PositionFollowsSignDirectionAndClamps) {
  struct Case {
    std::int32_t direction;
    std::int32_t origin;
    float prior;
    std::int32_t x;
  };
  const Case cases[] = {
      {2, 75, 10.0f, 123}, {2, 75, -10.0f, 103}, {2, 75, 0.0f, 113},   {2, 75, 0.4f, 113},
      {0, 90, 70.0f, 149},  // 135 + 70 beyond the edge: one unit inside
      {0, 90, 15.0f, 149},  // exactly 150: also 149
      {0, 90, 14.0f, 149}, {1, 10, 40.0f, 0},    {1, 75, -10.0f, 103}, {0, 75, -10.0f, 123},
  };
  for (const Case& c : cases) {
    const sim::CallRecord& rec = draw({c.prior}, markerLayout(c.direction, c.origin, 1.0f), 0, 1);
    ASSERT_EQ(rec.placed.size(), 1u);
    EXPECT_EQ(rec.placed[0].spec.BeginTime, units(c.x)) << c.direction << " " << c.prior;
  }
}

TEST_F(DrawPriorsTest, DotStyleAndSizeMapOntoTheMarker) {
  struct Case {
    std::int32_t style;
    float size;
    std::int32_t type;
    std::int32_t markerSize;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {0, 2.7f, 0, 2},          {1, 0.5f, 14, 0},
      {2, 3.0f, 2, 3},          {9, -1.5f, 0, -1},
      {1, inf, 14, 2147483647}, {1, std::numeric_limits<float>::quiet_NaN(), 14, 0}};
  for (const Case& c : cases) {
    ProfileLayout layout = markerLayout(2, 75, 1.0f);
    layout.dotStyle = c.style;
    layout.dotSize = c.size;
    const sim::CallRecord& rec = draw({1.0f}, layout, 0, 1);
    ASSERT_EQ(rec.placed.size(), 1u);
    EXPECT_EQ(rec.placed[0].spec.MarkerType, c.type) << c.style;
    EXPECT_EQ(rec.placed[0].spec.MarkerSize, c.markerSize) << c.size;
  }
}

TEST_F(DrawPriorsTest, LogarithmicScalingWithTinyMaximumPutsMarkersOnTheOrigin) {
  input(in::kLogScaling).setYesNo(true);
  ProfileLayout layout = markerLayout(2, 75, 1e12f);
  layout.maxValue = 1e-10f;
  const sim::CallRecord& rec = draw({50.0f, -50.0f}, layout, 0, 2);
  ASSERT_EQ(rec.placed.size(), 2u);
  EXPECT_EQ(rec.placed[0].spec.BeginTime, units(113));
  EXPECT_EQ(rec.placed[1].spec.BeginTime, units(113));
}

TEST_F(DrawPriorsTest, StartsAtFirstAndDrawsNothingForEmptyOrShortRuns) {
  const sim::CallRecord& rec = draw({1, 2, 3, 4, 5, 6, 7}, markerLayout(2, 75, 1.0f), 5, 2);
  ASSERT_EQ(rec.placed.size(), 2u);
  EXPECT_EQ(rec.placed[0].spec.BeginTime, units(119));
  EXPECT_EQ(draw({1, 2}, markerLayout(2, 75, 1.0f), 0, 0).placed.size(), 0u);
  EXPECT_EQ(key_, 8);
  EXPECT_EQ(draw({1, 2}, markerLayout(2, 75, 1.0f), 1, 2).placed.size(), 0u);
  EXPECT_EQ(draw({1, 2, 3, 4, 5, 6}, markerLayout(2, 75, 1.0f), 0, 6).placed.size(), 0u);
}

TEST_F(DrawPriorsTest, FailureNamesKeyAndValue) {
  sim::CallScript script;
  script.place_fail_ordinals = {2};
  const sim::CallRecord& rec = draw({1.0f, -2.5f, 3.0f}, markerLayout(2, 75, 1.0f), 0, 3, script);
  ASSERT_EQ(rec.log.size(), 1u);
  EXPECT_EQ(rec.log[0].text,
            "drawPriors: Failed to create/adjust marker for key 9, value -2.500000");
  EXPECT_EQ(rec.log[0].flag, 1);
  EXPECT_EQ(key_, 11);
  EXPECT_EQ(stored(9), 0);
  EXPECT_EQ(stored(10), 2);
}

TEST_F(DrawPriorsTest, ExtremePriorsStayInsideTheWindow) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> priors{inf, -inf, nan, -0.0f, 3e38f, -3e38f};
  for (const bool logarithmic : {false, true}) {
    input(in::kLogScaling).setYesNo(logarithmic);
    for (const float scale : {1.0f, inf, nan, 0.0f}) {
      for (const float maximum : {100.0f, 0.0f, inf, nan}) {
        ProfileLayout layout = markerLayout(2, 75, scale);
        layout.maxValue = maximum;
        const sim::CallRecord& rec = draw(priors, layout, 0, 5);
        for (const sim::PlacedRecord& placed : rec.placed) {
          EXPECT_GE(placed.spec.BeginTime, 0);
          EXPECT_LE(placed.spec.BeginTime, units(149));
        }
      }
    }
  }
}

}  // namespace
}  // namespace ostrel::test

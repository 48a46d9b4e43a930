#include "render/draw_bar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "render/scaled_length.h"
#include "render_test_support.h"

namespace ostrel::test {
namespace {

ProfileLayout layoutOf(std::int32_t direction, std::int32_t origin, float scale,
                       float maxValue = 100.0f) {
  ProfileLayout layout;
  layout.halfHeight = 0.5f;
  layout.width = 2;
  layout.scale = scale;
  layout.direction = direction;
  layout.originPercent = origin;
  layout.maxValue = maxValue;
  return layout;
}

BarStyle defaultStyle() {
  BarStyle style;
  style.positiveColour = rgb(0, 255, 0);
  style.negativeColour = rgb(255, 0, 0);
  style.transparency = 85;
  return style;
}

class DrawBarTest : public RenderTest {
 protected:
  DrawingSpec drawOne(float y, float value, const ProfileLayout& layout,
                      const BarStyle& style = defaultStyle()) {
    std::int32_t key = 8;
    const sim::CallRecord& rec =
        run([&](StudyHost& h) { drawBar(h, key, y, value, style, layout); });
    EXPECT_EQ(key, 9);
    EXPECT_EQ(rec.placed.size(), 1u);
    return rec.placed.empty() ? DrawingSpec() : rec.placed[0].spec;
  }
};

TEST_F(DrawBarTest, ExtentFollowsDirectionAndOrigin) {
  struct Case {
    std::int32_t direction;
    std::int32_t origin;
    float value;
    std::int32_t begin;
    std::int32_t end;
  };
  // scale 1: L = |v|.
  const Case cases[] = {
      {2, 75, 20.0f, 113, 133},   // Center, positive: right of the origin
      {2, 75, -20.0f, 93, 113},   // Center, negative: left of it
      {0, 75, -20.0f, 113, 133},  // Right ignores the sign
      {1, 75, 20.0f, 93, 113},    // Left ignores the sign
      {0, 100, 30.0f, 150, 150},  // Right from the right edge: zero length
      {1, 10, 30.0f, 0, 15},      // Left from 15: start clamped at 0
      {5, 50, -10.0f, 65, 75},    // any other direction behaves as Center
      {2, 0, -10.0f, 0, 0},       // begin clamped, end kept
  };
  for (const Case& c : cases) {
    const DrawingSpec spec = drawOne(6000.0f, c.value, layoutOf(c.direction, c.origin, 1.0f));
    EXPECT_EQ(spec.BeginTime, units(c.begin)) << c.direction << " " << c.origin << " " << c.value;
    EXPECT_EQ(spec.EndTime, units(c.end)) << c.direction << " " << c.origin << " " << c.value;
  }
}

TEST_F(DrawBarTest, RecordFieldsOfADefaultBar) {
  const DrawingSpec spec = drawOne(6000.0f, 50.0f, layoutOf(2, 75, 0.3725f));
  EXPECT_EQ(spec.DrawingNumber, -1);
  EXPECT_EQ(spec.ChartNumber, 0);  // bars leave the chart number at its reset value
  EXPECT_EQ(spec.DrawingType, kDrawingRectangle);
  EXPECT_EQ(spec.AddMode, 3);
  EXPECT_EQ(spec.CopySettingA, kUnsetInt);
  EXPECT_EQ(spec.CopySettingB, kUnsetShort);
  EXPECT_EQ(spec.Color, rgb(0, 255, 0));
  EXPECT_EQ(spec.FillColor, rgb(0, 255, 0));
  EXPECT_EQ(spec.Transparency, 85);
  EXPECT_EQ(spec.LineWidth, 1);
  EXPECT_EQ(spec.LineStyle, kUnsetShort);
  EXPECT_FLOAT_EQ(spec.BeginValue, 6000.5f);
  EXPECT_FLOAT_EQ(spec.EndValue, 5999.5f);
  EXPECT_EQ(spec.BeginTime, units(113));
  EXPECT_EQ(spec.EndTime, units(113 + 18));  // 0.3725 x 50 = 18.6
  EXPECT_EQ(stored(8), 1);
  EXPECT_EQ(stored(6), 8);
}

TEST_F(DrawBarTest, AllowCopySetsTheThreeCopySettings) {
  input(in::kAllowCopy).setYesNo(true);
  const DrawingSpec spec = drawOne(1.0f, 1.0f, layoutOf(2, 75, 1.0f));
  EXPECT_EQ(spec.CopySettingA, 1);
  EXPECT_EQ(spec.CopySettingB, 1);
  EXPECT_EQ(spec.CopySettingC, 0);
}

TEST_F(DrawBarTest, LineStylesMapOntoTheRecord) {
  struct Case {
    std::int32_t style;
    std::uint16_t width;
    std::uint16_t lineStyle;
    bool filled;
  };
  const Case cases[] = {
      {0, 2, 0, false},          {1, 1, 2, false},           {2, 2, 1, false},
      {3, 1, kUnsetShort, true}, {7, 2, kUnsetShort, false}, {-1, 2, kUnsetShort, false},
  };
  for (const Case& c : cases) {
    BarStyle style = defaultStyle();
    style.negativeLineStyle = c.style;
    const DrawingSpec spec = drawOne(100.0f, -5.0f, layoutOf(2, 75, 1.0f), style);
    EXPECT_EQ(spec.Color, rgb(255, 0, 0)) << c.style;
    EXPECT_EQ(spec.LineWidth, c.width) << c.style;
    EXPECT_EQ(spec.LineStyle, c.lineStyle) << c.style;
    EXPECT_EQ(spec.FillColor, c.filled ? rgb(255, 0, 0) : kUnsetColour) << c.style;
    EXPECT_EQ(spec.Transparency, c.filled ? 85 : kUnsetInt) << c.style;
    EXPECT_FLOAT_EQ(spec.BeginValue, c.filled ? 100.5f : 100.0f) << c.style;
    EXPECT_FLOAT_EQ(spec.EndValue, c.filled ? 99.5f : 100.0f) << c.style;
  }
}

TEST(BarLength, EveryVisibleValueGetsAtLeastOneUnit) {
  ProfileLayout layout = layoutOf(2, 75, 0.001f);
  EXPECT_EQ(barLength(500.0f, layout, false), 1);  // 0.5 units
  EXPECT_EQ(barLength(2e-6f, layout, false), 0);   // scaled length below 1e-6
  layout.scale = 1.0f;
  EXPECT_EQ(barLength(1e-6f, layout, false), 0);  // value not above 1e-6
  EXPECT_EQ(barLength(0.5f, layout, false), 1);
  EXPECT_EQ(barLength(-0.5f, layout, false), 1);
  EXPECT_EQ(markerLength(0.5f, layout, false), 0);  // markers have no minimum
}

TEST(BarLength, LogarithmicScalingKeepsTheMaximumAndLiftsSmallValues) {
  const float span = barSpanUnits(25);  // 37.25
  ProfileLayout layout = layoutOf(2, 75, 0.0f);
  setLayoutMaximum(layout, span, 1000.0f);
  EXPECT_EQ(barLength(1000.0f, layout, true), barLength(1000.0f, layout, false));
  EXPECT_EQ(barLength(1000.0f, layout, true), 37);
  EXPECT_GT(barLength(500.0f, layout, true), 37 / 2);
  EXPECT_EQ(barLength(-1000.0f, layout, true), 37);
  setLayoutMaximum(layout, span, 1e-10f);
  EXPECT_EQ(barLength(5.0f, layout, true), 0);
  EXPECT_EQ(markerLength(5.0f, layout, true), 0);
}

TEST(BarSpan, ScaleFactorIsClampedToOneToHundredPercent) {
  EXPECT_FLOAT_EQ(barSpanUnits(25), 37.25f);
  EXPECT_EQ(barSpanUnits(0), barSpanUnits(1));
  EXPECT_EQ(barSpanUnits(-40), barSpanUnits(1));
  EXPECT_EQ(barSpanUnits(250), barSpanUnits(100));
  EXPECT_FLOAT_EQ(barSpanUnits(100), 149.0f);
}

TEST_F(DrawBarTest, FailureIsLoggedAndTheKeyStillAdvances) {
  sim::CallScript script;
  script.place_fail_ordinals = {2};
  std::int32_t key = 8;
  const BarStyle style = defaultStyle();
  const ProfileLayout layout = layoutOf(2, 75, 1.0f);
  const sim::CallRecord& rec = run(
      [&](StudyHost& h) {
        drawBar(h, key, 6000.0f, 1.0f, style, layout);
        drawBar(h, key, 6012.25f, 2.0f, style, layout);
        drawBar(h, key, 6000.0f, 3.0f, style, layout);
      },
      script);
  EXPECT_EQ(key, 11);
  ASSERT_EQ(rec.log.size(), 1u);
  EXPECT_EQ(rec.log[0].text,
            "drawBar: Failed to create/adjust drawing for key 9, strike 6012.250000");
  EXPECT_EQ(rec.log[0].flag, 1);
  EXPECT_EQ(stored(8), 1);
  EXPECT_EQ(stored(9), 0);
  EXPECT_EQ(stored(10), 2);
  EXPECT_EQ(stored(6), 10);
}

// A price beyond the float range (an overflowing conversion) never reaches the host: the bar
// fails as a refused one does, and its slot stays empty.
TEST_F(DrawBarTest, PriceThatIsNotFiniteIsNotPlaced) {
  const float inf = std::numeric_limits<float>::infinity();
  const float prices[] = {inf, -inf, std::numeric_limits<float>::quiet_NaN()};
  const char* const shown[] = {"inf", "-inf", "nan"};
  for (int i = 0; i < 3; ++i) {
    std::int32_t key = 8;
    const sim::CallRecord& rec = run([&](StudyHost& h) {
      drawBar(h, key, prices[i], 1.0f, defaultStyle(), layoutOf(2, 75, 1.0f));
    });
    EXPECT_EQ(key, 9);
    EXPECT_TRUE(rec.placed.empty()) << shown[i];
    ASSERT_EQ(rec.log.size(), 1u);
    EXPECT_EQ(rec.log[0].text, std::string("drawBar: Failed to create/adjust drawing for key 8, "
                                           "strike ") +
                                   shown[i]);
    EXPECT_EQ(stored(8), 0);
  }
  EXPECT_TRUE(sim_.drawings().empty());
}

TEST_F(DrawBarTest, AdjustsTheDrawingRecordedInItsSlot) {
  std::int32_t key = 8;
  const ProfileLayout layout = layoutOf(2, 75, 1.0f);
  run([&](StudyHost& h) { drawBar(h, key, 1.0f, 1.0f, defaultStyle(), layout); });
  key = 8;
  const sim::CallRecord& rec =
      run([&](StudyHost& h) { drawBar(h, key, 2.0f, 1.0f, defaultStyle(), layout); });
  ASSERT_EQ(rec.placed.size(), 1u);
  EXPECT_EQ(rec.placed[0].spec.DrawingNumber, 1);
  EXPECT_EQ(sim_.drawings().size(), 1u);
}

// Hostile numbers must never push a bar outside the window or into undefined conversions.
TEST_F(DrawBarTest, ExtremeValuesStayInsideTheWindow) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float span = barSpanUnits(25);
  struct Case {
    float value;
    float maximum;
  };
  const Case cases[] = {{inf, 100.0f},   {-inf, 100.0f}, {nan, 100.0f},   {5.0f, 0.0f},
                        {-5.0f, 0.0f},   {5.0f, 1e-30f}, {5.0f, inf},     {5.0f, nan},
                        {-0.0f, 100.0f}, {3e38f, 1e-3f}, {-3e38f, -0.0f}, {inf, inf},
                        {nan, nan},      {1.0f, -5.0f}};
  for (const bool logarithmic : {false, true}) {
    input(in::kLogScaling).setYesNo(logarithmic);
    for (std::int32_t direction = 0; direction <= 2; ++direction) {
      for (const Case& c : cases) {
        ProfileLayout layout = layoutOf(direction, 75, 0.0f);
        setLayoutMaximum(layout, span, c.maximum);
        const DrawingSpec spec = drawOne(1.0f, c.value, layout);
        EXPECT_GE(spec.BeginTime, 0) << c.value << " " << c.maximum;
        EXPECT_LE(spec.BeginTime, spec.EndTime) << c.value << " " << c.maximum;
        EXPECT_LE(spec.EndTime, units(150)) << c.value << " " << c.maximum;
        EXPECT_EQ(spec.BeginTime % kMicrosPerUnit, 0);
        EXPECT_EQ(spec.EndTime % kMicrosPerUnit, 0);
      }
    }
  }
}

}  // namespace
}  // namespace ostrel::test

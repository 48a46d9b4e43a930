#include "render/render_levels.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "render_test_support.h"
#include "study/state_keys.h"

namespace ostrel::test {
namespace {

GexData smallGex() {
  GexData gex;
  gex.zero_gamma = 6000.0f;
  gex.major_pos_vol = 6050.0f;
  gex.major_neg_vol = 5950.0f;
  gex.major_pos_oi = 6100.0f;
  gex.major_neg_oi = 5900.0f;
  gex.sum_gex_vol = 12.5f;
  gex.sum_gex_oi = -3.5f;
  gex.strike_prices = {5990.0f, 6000.0f, 6010.0f};
  gex.gex_vol = {-20.0f, 10.0f, 40.0f};
  gex.gex_oi = {-5.0f, 0.0f, 80.0f};
  gex.priors = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  gex.max_abs_vol = 40.0f;
  gex.max_abs_oi = 80.0f;
  gex.max_abs_all = 80.0f;
  return gex;
}

GreekData smallGreek() {
  GreekData greek;
  greek.major_positive = 6020.0f;
  greek.major_negative = 5980.0f;
  greek.major_long_gamma = 6030.0f;
  greek.major_short_gamma = 5970.0f;
  greek.strike_prices = {5990.0f, 6010.0f};
  greek.value1 = {1.0f, 2.0f};
  greek.value2 = {3.0f, 4.0f};
  greek.value3 = {-2.0f, 4.0f};
  greek.priors = {1, 2, 3, 4, 5, 6};
  greek.max_abs_value = 4.0f;
  return greek;
}

class RenderLevelsTest : public RenderTest {
 protected:
  const sim::CallRecord& render(const sim::CallScript& script = sim::CallScript()) {
    key_ = 8;
    return run(
        [&](StudyHost& h) {
          renderLevels(h, key_, gexPresent_ ? &gex_ : nullptr, &greek_, additive_, multiplier_);
        },
        script);
  }
  std::vector<std::int32_t> typesPlaced(const sim::CallRecord& rec) {
    std::vector<std::int32_t> types;
    for (const sim::PlacedRecord& p : rec.placed) types.push_back(p.spec.DrawingType);
    return types;
  }

  GexData gex_ = smallGex();
  GreekData greek_ = smallGreek();
  bool gexPresent_ = true;
  float additive_ = 0.0f;
  float multiplier_ = 1.0f;
  std::int32_t key_ = 0;
};

TEST_F(RenderLevelsTest, GexDefaultsDrawLinesThenVolumeWithMarkersThenOi) {
  const sim::CallRecord& rec = render();
  // 5 lines; volume: 3 strikes x (bar + 5 markers); OI: 2 bars (zero dropped).
  ASSERT_EQ(rec.placed.size(), 5u + 18u + 2u);
  const std::vector<std::int32_t> types = typesPlaced(rec);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(types[static_cast<std::size_t>(i)], 3);
  EXPECT_EQ(rec.placed[0].spec.Text, "MCV: 6050.00");
  EXPECT_EQ(rec.placed[2].spec.Text, "ZG: 6000.00");
  // Volume pass in order of size: 6010 (40), 6000 (10), then 5990 (-20).
  EXPECT_FLOAT_EQ(rec.placed[5].spec.BeginValue, 6010.5f);
  EXPECT_FLOAT_EQ(rec.placed[11].spec.BeginValue, 6000.5f);
  EXPECT_FLOAT_EQ(rec.placed[17].spec.BeginValue, 5990.5f);
  // The markers of 6010 are its priors 11..15 (position 2).
  EXPECT_EQ(rec.placed[6].spec.BeginTime, units(113 + 5));  // 11 x 37.25 / 80 = 5.1
  // Mode Both scales volume by max_abs_all: 40 x 37.25 / 80 = 18.6.
  EXPECT_EQ(rec.placed[5].spec.EndTime, units(113 + 18));
  // OI bars: 6010 (80 -> 37 units) and 5990 (-5), no markers.
  EXPECT_EQ(types[23], 12);
  EXPECT_EQ(types[24], 12);
  EXPECT_EQ(rec.placed[23].spec.EndTime, units(150));
  EXPECT_EQ(rec.placed[24].spec.BeginTime, units(111));
  EXPECT_EQ(key_, 8 + 25);
  EXPECT_EQ(stored(key::last_drawing_slot), 32);
  EXPECT_EQ(rec.removed_all, 1);
}

TEST_F(RenderLevelsTest, GexSubgraphsAreConvertedAndZeroLevelsKeepTheBar) {
  additive_ = 2.25f;
  multiplier_ = 1.5f;
  gex_.zero_gamma = 0.0f;
  sim_.subgraph(2).value(9) = 77.0f;
  const sim::CallRecord& rec = render();
  EXPECT_FLOAT_EQ(subgraphValue(0), 6050.0f * 1.5f + 2.25f);
  EXPECT_FLOAT_EQ(subgraphValue(1), 5950.0f * 1.5f + 2.25f);
  EXPECT_FLOAT_EQ(subgraphValue(2), 77.0f);
  EXPECT_FLOAT_EQ(subgraphValue(3), 6100.0f * 1.5f + 2.25f);
  EXPECT_FLOAT_EQ(subgraphValue(4), 5900.0f * 1.5f + 2.25f);
  EXPECT_FLOAT_EQ(subgraphValue(7), 12.5f);
  EXPECT_FLOAT_EQ(subgraphValue(8), -3.5f);
  EXPECT_FLOAT_EQ(subgraphValue(5), 0.0f);
  // The zero-gamma line is not drawn but keeps its slot: the OI lines take slots 11 and 12.
  EXPECT_EQ(rec.placed[2].spec.Text, "MCO: 9152.25");
  EXPECT_EQ(stored(11), 3);
  EXPECT_EQ(stored(12), 4);
  EXPECT_EQ(stored(10), 0);
}

TEST_F(RenderLevelsTest, MaxChangeSubgraphsNeedFiveEntries) {
  gex_.max_priors = {{6000, 5}, {6010, -2}, {5990, 1}, {6020, 0}};
  render();
  for (std::int32_t s = 9; s <= 18; ++s) EXPECT_FLOAT_EQ(subgraphValue(s), 0.0f) << s;

  additive_ = 1.0f;
  gex_.max_priors = {{6000, 5}, {6010, -2}, {5990}, {6020, 0}, {}, {1, 1}};
  render();
  const float strikes[] = {6001, 6011, 5991, 6021, 1};
  const float values[] = {5, -2, 0, 0, 0};
  const std::uint32_t colours[] = {rgb(3, 255, 53), rgb(255, 0, 0), rgb(255, 0, 0), rgb(255, 0, 0),
                                   rgb(255, 0, 0)};
  for (std::int32_t k = 0; k < 5; ++k) {
    EXPECT_FLOAT_EQ(subgraphValue(9 + 2 * k), strikes[k]) << k;
    EXPECT_FLOAT_EQ(subgraphValue(10 + 2 * k), values[k]) << k;
    EXPECT_EQ(sim_.subgraph(9 + 2 * k).colour(9), colours[k]) << k;
  }
}

TEST_F(RenderLevelsTest, DisplayModeSelectsPassesAndTheirMaximum) {
  input(in::kGexDisplay).setCustomList(0);
  const sim::CallRecord& volume = render();
  ASSERT_EQ(volume.placed.size(), 5u + 18u);
  EXPECT_EQ(volume.placed[5].spec.EndTime, units(150));  // 40 is the volume maximum

  input(in::kGexDisplay).setCustomList(1);
  const sim::CallRecord& oi = render();
  ASSERT_EQ(oi.placed.size(), 5u + 2u);
  EXPECT_EQ(oi.placed[5].spec.EndTime, units(150));

  input(in::kGexDisplay).setCustomList(9);  // any other index: Both
  EXPECT_EQ(render().placed.size(), 25u);
}

TEST_F(RenderLevelsTest, EachBarPassTakesItsColoursFromItsOwnInputs) {
  // Eight distinct bar colours (the defaults share green and red between volume and OI), so a
  // pass that read another pass's colour inputs shows.
  const auto colour = [](std::uint32_t k) { return rgb(10 + k, 20 + k, 30 + k); };
  for (std::int32_t k = 0; k < 8; ++k) {
    input(in::kCallGexVolumeColour + 2 * k).setColour(colour(static_cast<std::uint32_t>(k)));
  }
  const sim::CallRecord& gex = render();
  ASSERT_EQ(gex.placed.size(), 25u);
  EXPECT_EQ(gex.placed[5].spec.Color, colour(0));   // volume 6010 (+40): call by volume
  EXPECT_EQ(gex.placed[17].spec.Color, colour(1));  // volume 5990 (-20): put by volume
  EXPECT_EQ(gex.placed[23].spec.Color, colour(2));  // OI 6010 (+80): call by OI
  EXPECT_EQ(gex.placed[24].spec.Color, colour(3));  // OI 5990 (-5): put by OI

  input(in::kGreek).setCustomList(6);
  const sim::CallRecord& delta = render();
  ASSERT_EQ(delta.placed.size(), 8u);
  EXPECT_EQ(delta.placed[0].spec.Color, colour(4));  // positive delta
  EXPECT_EQ(delta.placed[4].spec.Color, colour(5));  // negative delta

  input(in::kGreek).setCustomList(3);
  const sim::CallRecord& gamma = render();
  ASSERT_EQ(gamma.placed.size(), 10u);
  EXPECT_EQ(gamma.placed[2].spec.Color, colour(6));  // long gamma
  EXPECT_EQ(gamma.placed[6].spec.Color, colour(7));  // short gamma
}

TEST_F(RenderLevelsTest, LayoutInputsAreClamped) {
  input(in::kGexDisplay).setCustomList(1);
  input(in::kBarScale).setInteger(0);
  input(in::kOriginPercent).setInteger(-5);
  const sim::CallRecord& small = render();
  // W = 1.49: the maximum gets 1 unit from origin 0.
  EXPECT_EQ(small.placed[5].spec.BeginTime, units(0));
  EXPECT_EQ(small.placed[5].spec.EndTime, units(1));

  input(in::kBarScale).setInteger(250);
  input(in::kOriginPercent).setInteger(120);
  input(in::kProfileDirection).setCustomList(1);
  const sim::CallRecord& large = render();
  EXPECT_EQ(large.placed[5].spec.BeginTime, units(1));  // 150 - 149
  EXPECT_EQ(large.placed[5].spec.EndTime, units(150));
}

TEST_F(RenderLevelsTest, OffsetAndWidthComeFromTheTick) {
  input(in::kGexDisplay).setCustomList(0);
  input(in::kGexVolumeOffset).setInteger(-4);
  input(in::kBarWidth).setInteger(1);
  const sim::CallRecord& rec = render();
  EXPECT_FLOAT_EQ(rec.placed[5].spec.BeginValue, 6010.0f - 1.0f + 0.25f);
  EXPECT_FLOAT_EQ(rec.placed[5].spec.EndValue, 6010.0f - 1.0f - 0.25f);
  EXPECT_FLOAT_EQ(rec.placed[6].spec.BeginValue, 6009.0f);
}

TEST_F(RenderLevelsTest, LabelWithoutTextReadsUnset) {
  input(in::kMajorCallVolLabel).setText(nullptr);
  input(in::kMajorPutVolLabel).setText("");
  input(in::kZeroGammaLabel).setInteger(4);
  const sim::CallRecord& rec = render();
  EXPECT_EQ(rec.placed[0].spec.Text, "Unset: 6050.00");
  EXPECT_EQ(rec.placed[1].spec.Text, ": 5950.00");
  EXPECT_EQ(rec.placed[2].spec.Text, "Unset: 6000.00");
}

TEST_F(RenderLevelsTest, GammaKindWritesGreekLevelsAndDrawsTwoLines) {
  input(in::kGreek).setCustomList(3);
  const sim::CallRecord& rec = render();
  EXPECT_FLOAT_EQ(subgraphValue(0), 6020.0f);
  EXPECT_FLOAT_EQ(subgraphValue(1), 5980.0f);
  EXPECT_FLOAT_EQ(subgraphValue(5), 6030.0f);
  EXPECT_FLOAT_EQ(subgraphValue(6), 5970.0f);
  EXPECT_FLOAT_EQ(subgraphValue(2), 0.0f);
  EXPECT_FLOAT_EQ(subgraphValue(7), 0.0f);
  // Two lines, then 2 strikes x (bar + 3 markers).
  ASSERT_EQ(rec.placed.size(), 2u + 8u);
  EXPECT_EQ(rec.placed[0].spec.Text, "MLG: 6030.00");
  EXPECT_EQ(rec.placed[1].spec.Text, "MSG: 5970.00");
  EXPECT_EQ(rec.placed[2].spec.Color, rgb(0, 255, 255));
  EXPECT_EQ(rec.placed[3].spec.Hidden, kUnsetShort);  // 5-minute gamma dot on
  EXPECT_EQ(rec.placed[5].spec.Hidden, 1);            // 30-minute gamma dot off
  EXPECT_EQ(rec.placed[6].spec.Color, rgb(199, 19, 240));
}

TEST_F(RenderLevelsTest, DeltaKindDrawsNoLinesAndStartsAtSlotEight) {
  input(in::kGreek).setCustomList(6);
  input(in::kShowDeltaDot5 + 2).setYesNo(true);
  const sim::CallRecord& rec = render();
  EXPECT_FLOAT_EQ(subgraphValue(5), 6030.0f);
  ASSERT_EQ(rec.placed.size(), 8u);
  EXPECT_EQ(rec.placed[0].spec.DrawingType, kDrawingRectangle);
  EXPECT_EQ(rec.placed[0].spec.Color, rgb(76, 175, 80));
  EXPECT_EQ(rec.placed[3].spec.Hidden, kUnsetShort);
  EXPECT_EQ(stored(8), static_cast<std::int32_t>(rec.placed[0].number));
}

TEST_F(RenderLevelsTest, NothingToDrawStillRemovesThePreviousPass) {
  render();
  const std::size_t before = sim_.drawings().size();
  ASSERT_GT(before, 0u);
  sim_.subgraph(7).value(9) = 0.0f;
  gex_.strike_prices.clear();
  const sim::CallRecord& rec = render();
  EXPECT_TRUE(rec.placed.empty());
  EXPECT_EQ(rec.removed.size(), before);
  EXPECT_EQ(rec.removed_all, 1);
  EXPECT_TRUE(sim_.drawings().empty());
  EXPECT_FLOAT_EQ(subgraphValue(7), 0.0f);
  EXPECT_EQ(stored(key::last_drawing_slot), 0);
  EXPECT_EQ(stored(8), 0);
  EXPECT_EQ(key_, 8);

  gexPresent_ = false;
  EXPECT_TRUE(render().placed.empty());
  input(in::kGreek).setCustomList(7);
  gex_ = smallGex();
  gexPresent_ = true;
  EXPECT_TRUE(render().placed.empty());
  EXPECT_FLOAT_EQ(subgraphValue(7), 0.0f);
}

TEST_F(RenderLevelsTest, FailedDrawingsKeepTheSlotNumbering) {
  sim::CallScript script;
  script.place_fail_ordinals = {6};  // the first bar
  const sim::CallRecord& rec = render(script);
  ASSERT_EQ(rec.log.size(), 1u);
  EXPECT_EQ(rec.log[0].text,
            "drawBar: Failed to create/adjust drawing for key 13, strike 6010.000000");
  EXPECT_EQ(stored(13), 0);
  EXPECT_EQ(stored(14), 6);
}

TEST_F(RenderLevelsTest, LargeProfileNeverWritesTheConversionTriggers) {
  gex_.strike_prices.clear();
  gex_.gex_vol.clear();
  gex_.gex_oi.clear();
  gex_.priors.clear();
  for (int i = 0; i < 300; ++i) {
    gex_.strike_prices.push_back(5000.0f + 5.0f * static_cast<float>(i));
    gex_.gex_vol.push_back(static_cast<float>(i % 2 == 0 ? i + 1 : -(i + 1)));
    gex_.gex_oi.push_back(static_cast<float>(i + 1));
    for (int j = 0; j < 5; ++j) gex_.priors.push_back(static_cast<float>(i));
  }
  gex_.max_abs_all = 300.0f;
  const std::int32_t flagged[] = {key::conversion_0930_done, key::conversion_0932_done};
  for (std::int32_t k : flagged) sim_.host().Ops.SetStoredInt(&sim_.host(), k, 1);

  const sim::CallRecord& first = render();
  EXPECT_EQ(first.placed.size(), 5u + 300u * 7u);
  EXPECT_EQ(key_, 8 + 5 + 300 * 7);
  EXPECT_EQ(stored(key::conversion_0930_done), 1);
  EXPECT_EQ(stored(key::conversion_0932_done), 1);
  EXPECT_EQ(stored(key::last_drawing_slot), 999);
  for (const auto& entry : sim_.storedInts().values) {
    if (entry.first >= 1000) {
      EXPECT_EQ(entry.second, 1) << entry.first;
    }
  }

  // The next pass removes the recorded drawings one by one and the rest in bulk.
  const sim::CallRecord& second = render();
  EXPECT_EQ(second.removed.size(), 992u);
  EXPECT_EQ(second.removed_all, 1);
  EXPECT_EQ(sim_.drawings().size(), 5u + 300u * 7u);
  EXPECT_EQ(stored(key::conversion_0930_done), 1);
  EXPECT_EQ(stored(key::conversion_0932_done), 1);
}

TEST_F(RenderLevelsTest, HostileRecordStaysInsideTheWindow) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  gex_.strike_prices = {nan, 6000.0f, -0.0f, 0.0f, inf};
  gex_.gex_vol = {1.0f, inf, -inf, 3e38f, nan};
  gex_.gex_oi = {-1e-30f, 2.0f, nan, -0.0f, 5.0f};
  gex_.priors.assign(25, nan);
  gex_.priors[10] = inf;
  gex_.priors[11] = -3e38f;
  gex_.zero_gamma = nan;
  gex_.max_priors = {{inf, nan}, {}, {nan}, {-inf, inf}, {1, -0.0f}};
  input(in::kGexDisplay).setCustomList(2);
  for (const bool logarithmic : {false, true}) {
    input(in::kLogScaling).setYesNo(logarithmic);
    for (const float maximum : {0.0f, 1e-12f, inf, nan, -0.0f, 1.0f}) {
      gex_.max_abs_all = maximum;
      const sim::CallRecord& rec = render();
      ASSERT_FALSE(rec.placed.empty());
      for (const sim::PlacedRecord& p : rec.placed) {
        if (p.spec.DrawingType == kDrawingHorizontalLine) continue;
        EXPECT_GE(p.spec.BeginTime, 0);
        EXPECT_LE(p.spec.BeginTime, units(150));
        EXPECT_LE(p.spec.EndTime, units(150));
        if (p.spec.DrawingType == kDrawingMarker) {
          EXPECT_LE(p.spec.BeginTime, units(149));
        }
      }
    }
  }
}

}  // namespace
}  // namespace ostrel::test

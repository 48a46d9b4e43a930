#include "render/draw_major_line.h"

#include <gtest/gtest.h>

#include "render_test_support.h"

namespace ostrel::test {
namespace {

MajorLineInputs zeroGammaLine() {
  MajorLineInputs line;
  line.colour = rgb(255, 165, 0);
  line.width = 2;
  line.style = 1;
  line.label = "ZG";
  line.visible = true;
  return line;
}

MajorLabelSettings defaultLabels() {
  MajorLabelSettings labels;
  labels.show = true;
  labels.alignment = 1;
  labels.fontSize = 10;
  labels.transparentBackground = true;
  return labels;
}

class DrawMajorLineTest : public RenderTest {
 protected:
  const sim::CallRecord& draw(float value, const MajorLineInputs& line,
                              const MajorLabelSettings& labels = defaultLabels(),
                              float additive = 0.0f, float multiplier = 1.0f) {
    key_ = 8;
    return run(
        [&](StudyHost& h) { drawMajorLine(h, key_, value, line, labels, additive, multiplier); });
  }
  std::int32_t key_ = 8;
};

TEST_F(DrawMajorLineTest, ConvertedLevelWithLabel) {
  const sim::CallRecord& rec = draw(400.0f, zeroGammaLine(), defaultLabels(), 2.25f, 1.5f);
  ASSERT_EQ(rec.placed.size(), 1u);
  const DrawingSpec& spec = rec.placed[0].spec;
  EXPECT_EQ(spec.DrawingType, kDrawingHorizontalLine);
  EXPECT_EQ(spec.ChartNumber, 1);
  EXPECT_EQ(spec.DrawingNumber, -1);
  EXPECT_EQ(spec.AddMode, 3);
  EXPECT_FLOAT_EQ(spec.BeginValue, 602.25f);
  EXPECT_EQ(spec.BeginTime, 0);
  EXPECT_EQ(spec.EndTime, 0);
  EXPECT_EQ(spec.Text, "ZG: 602.25");
  EXPECT_EQ(spec.LineStyle, 1);
  EXPECT_EQ(spec.LineWidth, 2);
  EXPECT_EQ(spec.Color, rgb(255, 165, 0));
  EXPECT_EQ(spec.FontSize, 10);
  EXPECT_EQ(spec.TransparentBackground, 1);
  EXPECT_EQ(spec.TextAlignment, 6);
  EXPECT_EQ(spec.CopySettingA, kUnsetInt);
  EXPECT_EQ(key_, 9);
  EXPECT_EQ(stored(8), 1);
  EXPECT_EQ(stored(6), 8);
}

TEST_F(DrawMajorLineTest, UnwantedLinesConsumeTheirSlotAndDrawNothing) {
  struct Case {
    const char* name;
    float value;
    std::int32_t width;
    bool visible;
  };
  const Case cases[] = {{"zero level", 0.0f, 2, true},
                        {"negative zero level", -0.0f, 2, true},
                        {"width 0", 6000.0f, 0, true},
                        {"negative width", 6000.0f, -3, true},
                        {"hidden", 6000.0f, 2, false}};
  for (const Case& c : cases) {
    MajorLineInputs line = zeroGammaLine();
    line.width = c.width;
    line.visible = c.visible;
    const sim::CallRecord& rec = draw(c.value, line);
    EXPECT_TRUE(rec.placed.empty()) << c.name;
    EXPECT_EQ(key_, 9) << c.name;
  }
  EXPECT_EQ(stored(6), 0);
}

TEST_F(DrawMajorLineTest, UnwantedLineRemovesTheDrawingStillInItsSlot) {
  draw(6000.0f, zeroGammaLine());
  ASSERT_EQ(stored(8), 1);
  const sim::CallRecord& rec = draw(0.0f, zeroGammaLine());
  EXPECT_EQ(rec.removed, std::vector<std::int32_t>{1});
  EXPECT_EQ(stored(8), 0);
}

TEST_F(DrawMajorLineTest, StyleAlignmentAndLabelTable) {
  struct Case {
    std::int32_t style;
    std::int32_t alignment;
    std::uint16_t lineStyle;
    std::int32_t textAlignment;
  };
  const Case cases[] = {
      {0, 0, 0, 4}, {1, 1, 1, 6}, {2, 2, 2, 5}, {5, 7, 0, kUnsetInt}, {-1, -1, 0, kUnsetInt}};
  for (const Case& c : cases) {
    MajorLineInputs line = zeroGammaLine();
    line.style = c.style;
    MajorLabelSettings labels = defaultLabels();
    labels.alignment = c.alignment;
    const sim::CallRecord& rec = draw(6000.0f, line, labels);
    ASSERT_EQ(rec.placed.size(), 1u);
    EXPECT_EQ(rec.placed[0].spec.LineStyle, c.lineStyle) << c.style;
    EXPECT_EQ(rec.placed[0].spec.TextAlignment, c.textAlignment) << c.alignment;
  }
}

TEST_F(DrawMajorLineTest, LabelsOffLeaveTheLabelFieldsUnset) {
  MajorLabelSettings labels = defaultLabels();
  labels.show = false;
  const sim::CallRecord& rec = draw(6000.0f, zeroGammaLine(), labels);
  ASSERT_EQ(rec.placed.size(), 1u);
  const DrawingSpec& spec = rec.placed[0].spec;
  EXPECT_EQ(spec.Text, "");
  EXPECT_EQ(spec.FontSize, kUnsetInt);
  EXPECT_EQ(spec.TextAlignment, kUnsetInt);
  EXPECT_EQ(spec.TransparentBackground, kUnsetInt);
}

TEST_F(DrawMajorLineTest, EmptyLabelStartsWithTheColon) {
  MajorLineInputs line = zeroGammaLine();
  line.label = "";
  MajorLabelSettings labels = defaultLabels();
  labels.transparentBackground = false;
  const sim::CallRecord& rec = draw(6001.5f, line, labels);
  ASSERT_EQ(rec.placed.size(), 1u);
  EXPECT_EQ(rec.placed[0].spec.Text, ": 6001.50");
  EXPECT_EQ(rec.placed[0].spec.TransparentBackground, 0);
}

// A level converted beyond the float range is not handed to the host; the slot stays empty.
TEST_F(DrawMajorLineTest, ConversionOverflowPlacesNothing) {
  const sim::CallRecord& rec = draw(6000.0f, zeroGammaLine(), defaultLabels(), 0.0f, 1e38f);
  EXPECT_TRUE(rec.placed.empty());
  EXPECT_TRUE(sim_.drawings().empty());
  EXPECT_EQ(key_, 9);
  EXPECT_EQ(stored(8), 0);
}

TEST_F(DrawMajorLineTest, FailureIsSilentAndLeavesTheSlotEmpty) {
  sim::CallScript script;
  script.place_all_fail = true;
  key_ = 8;
  const MajorLineInputs line = zeroGammaLine();
  const MajorLabelSettings labels = defaultLabels();
  const sim::CallRecord& rec =
      run([&](StudyHost& h) { drawMajorLine(h, key_, 6000.0f, line, labels, 0.0f, 1.0f); }, script);
  EXPECT_EQ(rec.placed.size(), 1u);
  EXPECT_TRUE(rec.log.empty());
  EXPECT_EQ(key_, 9);
  EXPECT_EQ(stored(8), 0);
}

}  // namespace
}  // namespace ostrel::test

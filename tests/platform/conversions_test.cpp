// The binding's field conversions, each on its own: date-times, input values both ways, and
// DrawingSpec <-> s_UseTool with the platform's own reset values.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "platform/drawing_binding.h"
#include "platform/input_binding.h"
#include "platform/sc_datetime.h"

namespace ostrel::platform {
namespace {

TEST(PlatformDateTime, ConvertsEveryMicrosecondExactly) {
  const std::int64_t cases[] = {0,
                                1,
                                -1,
                                46126LL * 86400000000LL + 34200000001LL,  // a trading day, +1 µs
                                std::numeric_limits<std::int64_t>::max(),
                                std::numeric_limits<std::int64_t>::min()};
  for (std::int64_t us : cases) {
    EXPECT_EQ(fromScDateTime(toScDateTime(us)), us);
    EXPECT_EQ(toScDateTime(us).AsMicrosecondsSinceBaseDate(), us);
  }
}

struct ReadCase {
  const char* what;
  void (*set)(s_SCInput_145&);
  InputType type;
  double double_value;
  std::int32_t int_value;
  std::uint32_t colour_value;
  const char* text = nullptr;  // null: not a text
};

// Each case's input, read by the binding into a slot that held a text before.
template <std::size_t N>
void expectReads(const ReadCase (&cases)[N]) {
  for (const ReadCase& c : cases) {
    s_SCInput_145 in{};
    c.set(in);
    StudyInput slot;
    slot.setText("left over");
    readInput(in, slot);
    EXPECT_EQ(slot.type, c.type) << c.what;
    if (std::isnan(c.double_value)) {
      EXPECT_TRUE(std::isnan(slot.double_value)) << c.what;
    } else {
      EXPECT_EQ(slot.double_value, c.double_value) << c.what;
    }
    EXPECT_EQ(slot.int_value, c.int_value) << c.what;
    EXPECT_EQ(slot.colour_value, c.colour_value) << c.what;
    EXPECT_EQ(slot.has_text, c.text != nullptr ? 1 : 0) << c.what;
    EXPECT_STREQ(slot.text.c_str(), c.text != nullptr ? c.text : "") << c.what;
    in.ClearString();
  }
}

TEST(PlatformInputs, ReadsTheValueOfTheTypeTheSlotHolds) {
  const ReadCase cases[] = {
      {"float", [](s_SCInput_145& in) { in.SetFloat(2.7f); }, InputType::kFloat,
       static_cast<double>(2.7f), 0, 0},
      {"yes/no", [](s_SCInput_145& in) { in.SetYesNo(7); }, InputType::kYesNo, 0.0, 1, 0},
      {"integer", [](s_SCInput_145& in) { in.SetInt(-12); }, InputType::kInteger, 0.0, -12, 0},
      {"colour", [](s_SCInput_145& in) { in.SetColor(0x00FF8040u); }, InputType::kColour, 0.0, 0,
       0x00FF8040u},
      {"list", [](s_SCInput_145& in) { in.SetCustomInputIndex(2); }, InputType::kCustomList, 0.0, 2,
       0},
      {"list beyond int", [](s_SCInput_145& in) { in.SetCustomInputIndex(0xFFFFFFFFu); },
       InputType::kCustomList, 0.0, std::numeric_limits<std::int32_t>::max(), 0},
      // The time zone lives apart from the other integers in the platform's value union.
      {"time zone", [](s_SCInput_145& in) { in.SetTimeZone(TIMEZONE_UTC); }, InputType::kTimeZone,
       0.0, 9, 0},
      {"time of day", [](s_SCInput_145& in) { in.SetTime(34200); }, InputType::kTimeOfDay,
       34200 / 86400.0, 0, 0},
      {"date-time",
       [](s_SCInput_145& in) {
         in.SetTime(0);
         in.ValueType = 10;
         in.DateTimeValue = 46126.395833;
       },
       InputType::kTimeOfDay, 46126.395833, 0, 0},
      {"unknown type",
       [](s_SCInput_145& in) {
         in.SetInt(5);
         in.ValueType = 23;
       },
       static_cast<InputType>(23), 0.0, 0, 0},
  };
  expectReads(cases);
}

constexpr char kOddBytes[] = "\x01\x1b[2J\x7f\x80\xc3\x28\xfe\xff";

// What no settings dialog writes (a chartbook of another version, a hand-edited one): read as the
// platform's own getters read it, never a pointer taken for a number nor a number for a pointer.
TEST(PlatformInputs, InputsNoDialogWritesAreReadAsThePlatformsGettersReadThem) {
  const ReadCase cases[] = {
      {"zone past the table",
       [](s_SCInput_145& in) { in.SetTimeZone(TIMEZONE_NOT_SPECIFIED).IndexValue = 29; },
       InputType::kTimeZone, 0.0, 0, 0, nullptr},
      {"zone, high bytes of a date set",
       [](s_SCInput_145& in) {
         in.SetTime(86399);
         in.SetTimeZone(TIMEZONE_UTC);
       },
       InputType::kTimeZone, 0.0, 9, 0, nullptr},
      {"list index past its options",
       [](s_SCInput_145& in) { in.SetCustomInputIndex(4000000000u); }, InputType::kCustomList, 0.0,
       std::numeric_limits<std::int32_t>::max(), 0, nullptr},
      {"negative time", [](s_SCInput_145& in) { in.SetTime(-3600); }, InputType::kTimeOfDay,
       -3600 / 86400.0, 0, 0, nullptr},
      {"time of many days", [](s_SCInput_145& in) { in.SetTime(90000); }, InputType::kTimeOfDay,
       90000 / 86400.0, 0, 0, nullptr},
      {"NaN time", [](s_SCInput_145& in) { in.SetTime(0).DateTimeValue = std::nan(""); },
       InputType::kTimeOfDay, std::nan(""), 0, 0, nullptr},
      {"NaN float", [](s_SCInput_145& in) { in.SetFloat(std::nanf("")); }, InputType::kFloat,
       std::nan(""), 0, 0, nullptr},
      {"yes/no of 7", [](s_SCInput_145& in) { in.SetYesNo(1).BooleanValue = 7; }, InputType::kYesNo,
       0.0, 1, 0, nullptr},
      // A chartbook of another version: a type the study never declares, its bytes unread.
      {"double input (23)",
       [](s_SCInput_145& in) {
         in.SetInt(-1);
         in.ValueType = 23;
       },
       static_cast<InputType>(23), 0.0, 0, 0, nullptr},
      {"type 255",
       [](s_SCInput_145& in) {
         in.SetColor(0xFFFFFFFFu);
         in.ValueType = 255;
       },
       static_cast<InputType>(255), 0.0, 0, 0, nullptr},
      // A number type whose bytes hold a text pointer: read as the number.
      {"integer over a text",
       [](s_SCInput_145& in) {
         in.SetString("SPX");
         in.ClearString();
         in.SetInt(5);
       },
       InputType::kInteger, 0.0, 5, 0, nullptr},
      {"text of high and control bytes", [](s_SCInput_145& in) { in.SetString(kOddBytes); },
       InputType::kText, 0.0, 0, 0, kOddBytes},
      {"cleared text", [](s_SCInput_145& in) { in.SetString(""); }, InputType::kText, 0.0, 0, 0,
       ""},
  };
  expectReads(cases);
}

TEST(PlatformInputs, ANullTextIsTheEmptyText) {
  s_SCInput_145 in{};
  in.SetString("");
  ASSERT_EQ(in.StringValue, nullptr);  // the platform keeps no empty text
  StudyInput slot;
  readInput(in, slot);
  EXPECT_EQ(slot.type, InputType::kText);
  EXPECT_EQ(slot.has_text, 1);
  EXPECT_STREQ(slot.text.c_str(), "");

  in.SetString("ES");
  readInput(in, slot);
  EXPECT_STREQ(slot.text.c_str(), "ES");
  in.ClearString();
}

TEST(PlatformInputs, WritesEachTypeAsThePlatformHoldsIt) {
  StudyInput slot;
  s_SCInput_145 out{};
  slot.setFloat(1.0f);
  slot.double_value = 2.7;  // a premium the conversion computed in double
  writeInputValue(slot, out);
  EXPECT_EQ(out.ValueType, FLOAT_VALUE);
  EXPECT_EQ(out.FloatValue, 2.7f);

  slot.setTimeOfDay(34200.5 / 86400.0);  // not a whole second: SetTime could not hold it
  writeInputValue(slot, out);
  EXPECT_EQ(out.ValueType, TIME_VALUE);
  const double days = out.DateTimeValue;  // packed to 4 bytes: no reference may bind to it
  EXPECT_EQ(days, 34200.5 / 86400.0);

  slot.setTimeZone(28);
  writeInputValue(slot, out);
  EXPECT_EQ(out.ValueType, TIMEZONE_VALUE);
  EXPECT_EQ(out.IndexValue, 28u);

  slot.setText("");
  writeInputValue(slot, out);
  EXPECT_EQ(out.ValueType, STRING_VALUE);
  EXPECT_EQ(out.StringValue, nullptr);

  slot.setText("NQ");
  writeInputValue(slot, out);
  ASSERT_NE(out.StringValue, nullptr);
  EXPECT_STREQ(out.StringValue, "NQ");

  slot.setColour(0x123456u);
  writeInputValue(slot, out);  // frees the text the slot held
  EXPECT_EQ(out.ValueType, COLOR_VALUE);
  EXPECT_EQ(out.ColorValue, 0x123456u);
}

void expectSameLeadingFields(const DrawingSpec& a, const DrawingSpec& b) {
  EXPECT_EQ(a.ChartNumber, b.ChartNumber);
  EXPECT_EQ(a.DrawingNumber, b.DrawingNumber);
  EXPECT_EQ(a.Transparency, b.Transparency);
  EXPECT_EQ(a.BeginValue, b.BeginValue);
  EXPECT_EQ(a.EndValue, b.EndValue);
  EXPECT_EQ(a.Color, b.Color);
  EXPECT_EQ(a.FontSize, b.FontSize);
  EXPECT_EQ(a.BeginTime, b.BeginTime);
  EXPECT_EQ(a.EndTime, b.EndTime);
  EXPECT_EQ(a.LineWidth, b.LineWidth);
  EXPECT_EQ(a.AddMode, b.AddMode);
  EXPECT_EQ(a.TextAlignment, b.TextAlignment);
  EXPECT_EQ(a.MarkerType, b.MarkerType);
  EXPECT_EQ(a.MarkerSize, b.MarkerSize);
  EXPECT_EQ(a.TransparentBackground, b.TransparentBackground);
}

TEST(PlatformDrawings, UnsetFieldsReachThePlatformAtItsResetValues) {
  const DrawingSpec unset;
  s_UseTool tool;
  toUseTool(unset, tool);
  EXPECT_EQ(tool.BeginValue, FLT_MIN);  // never 0: that is a real price
  EXPECT_EQ(tool.EndValue, FLT_MIN);
  EXPECT_EQ(tool.Color, 0xFF000000u);
  EXPECT_EQ(tool.SecondaryColor, 0xFF000000u);
  EXPECT_EQ(tool.DrawingType, DRAWING_UNKNOWN);
  EXPECT_EQ(tool.AddAsUserDrawnDrawing, 0);
  EXPECT_EQ(tool.LineNumber, -1);
  EXPECT_EQ(tool.LineWidth, 0xFFFF);
  EXPECT_EQ(tool.LineStyle, LINESTYLE_UNSET);
  EXPECT_EQ(tool.HideDrawing, -1);
  EXPECT_EQ(tool.AllowCopyToOtherCharts, -1);
  EXPECT_EQ(tool.AllowSaveToChartbook, -1);
  EXPECT_EQ(tool.AddMethod, UTAM_ADD_OR_ADJUST);
  EXPECT_EQ(tool.BeginDateTime.AsMicrosecondsSinceBaseDate(), 0);
  EXPECT_EQ(tool.Text.GetLength(), 0);

  DrawingSpec back;
  toDrawingSpec(tool, back);
  expectSameLeadingFields(back, unset);
  EXPECT_EQ(back.DrawingType, kUnsetInt);
  EXPECT_EQ(back.CopySettingA, kUnsetInt);
  EXPECT_EQ(back.Hidden, kUnsetShort);
}

TEST(PlatformDrawings, SetFieldsGoThroughAndComeBack) {
  DrawingSpec spec;
  spec.ChartNumber = 2;
  spec.DrawingNumber = 17;
  spec.Transparency = 40;
  spec.BeginValue = 5510.25f;
  spec.EndValue = -3.5f;
  spec.Color = 0x0035FF03u;
  spec.FontSize = 14;
  spec.BeginTime = 75;
  spec.EndTime = 120;
  spec.Text.assign("Zero Gamma: 5480.50");
  spec.DrawingType = kDrawingRectangle;
  spec.LineWidth = 2;
  spec.LineStyle = 1;
  spec.TextAlignment = 4;
  spec.FillColor = 0;  // black is a colour, not "unset"
  spec.MarkerType = 14;
  spec.MarkerSize = 3;
  spec.TransparentBackground = 1;
  spec.CopySettingA = 1;
  spec.CopySettingC = 0;
  spec.Hidden = 1;
  spec.CopySettingB = 1;
  s_UseTool tool;
  toUseTool(spec, tool);
  EXPECT_EQ(tool.BeginValue, 5510.25f);
  EXPECT_EQ(tool.SecondaryColor, 0u);
  EXPECT_EQ(tool.BeginDateTime.AsMicrosecondsSinceBaseDate(), 75);
  EXPECT_EQ(tool.AddAsUserDrawnDrawing, 1);
  EXPECT_EQ(tool.LineStyle, LINESTYLE_DASH);
  EXPECT_STREQ(tool.Text.GetChars(), "Zero Gamma: 5480.50");

  DrawingSpec back;
  toDrawingSpec(tool, back);
  expectSameLeadingFields(back, spec);
  EXPECT_STREQ(back.Text.c_str(), spec.Text.c_str());
  EXPECT_EQ(back.DrawingType, spec.DrawingType);
  EXPECT_EQ(back.LineStyle, spec.LineStyle);
  EXPECT_EQ(back.FillColor, spec.FillColor);
  EXPECT_EQ(back.CopySettingA, 1);
  EXPECT_EQ(back.CopySettingC, 0);
  EXPECT_EQ(back.Hidden, 1);
  EXPECT_EQ(back.CopySettingB, 1);
}

}  // namespace
}  // namespace ostrel::platform

#include "sim/platform_record_drawings.h"

#include <cfloat>
#include <cstdint>

namespace ostrel::sim {
namespace {

constexpr std::uint32_t kResetColour = 0xFF000000u;

// The 16-bit fields carry the same bits either way (65535 is the platform's -1).
std::uint16_t bits16(std::int32_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}
std::int16_t signed16(std::uint16_t value) {
  return static_cast<std::int16_t>(value >= 32768u ? static_cast<std::int32_t>(value) - 65536
                                                   : static_cast<std::int32_t>(value));
}

}  // namespace

void drawingFromUseTool(const s_UseTool& from, DrawingSpec& to) {
  to.ChartNumber = from.ChartNumber;
  to.DrawingNumber = from.LineNumber;
  to.Transparency = from.TransparencyLevel;
  to.BeginValue = from.BeginValue == FLT_MIN ? 0.0f : from.BeginValue;
  to.EndValue = from.EndValue == FLT_MIN ? 0.0f : from.EndValue;
  to.Color = from.Color == kResetColour ? kUnsetColour : from.Color;
  to.FontSize = from.FontSize;
  to.BeginTime = from.BeginDateTime.AsMicrosecondsSinceBaseDate();
  to.EndTime = from.EndDateTime.AsMicrosecondsSinceBaseDate();
  to.Text.assign(from.Text.GetChars());
  to.DrawingType = from.DrawingType == DRAWING_UNKNOWN ? kUnsetInt : from.DrawingType;
  to.LineWidth = from.LineWidth;
  to.LineStyle = bits16(from.LineStyle);
  to.AddMode = from.AddMethod;
  to.TextAlignment = from.TextAlignment;
  to.FillColor = from.SecondaryColor == kResetColour ? kUnsetColour : from.SecondaryColor;
  to.MarkerType = from.MarkerType;
  to.MarkerSize = from.MarkerSize;
  to.TransparentBackground = from.TransparentLabelBackground;
  to.CopySettingA = from.AddAsUserDrawnDrawing == 0 ? kUnsetInt : from.AddAsUserDrawnDrawing;
  to.CopySettingC = from.AllowSaveToChartbook;
  to.Hidden = bits16(from.HideDrawing);
  to.CopySettingB = bits16(from.AllowCopyToOtherCharts);
}

void useToolFromDrawing(const DrawingSpec& from, s_UseTool& to) {
  to.ChartNumber = from.ChartNumber;
  to.LineNumber = from.DrawingNumber;
  to.TransparencyLevel = from.Transparency;
  if (from.BeginValue != 0.0f) to.BeginValue = from.BeginValue;
  if (from.EndValue != 0.0f) to.EndValue = from.EndValue;
  if (from.Color != kUnsetColour) to.Color = from.Color;
  to.FontSize = from.FontSize;
  to.BeginDateTime = SCDateTime::MICROSECONDS(from.BeginTime);
  to.EndDateTime = SCDateTime::MICROSECONDS(from.EndTime);
  if (!from.Text.empty()) to.Text = from.Text.c_str();
  if (from.DrawingType != kUnsetInt)
    to.DrawingType = static_cast<DrawingTypeEnum>(from.DrawingType);
  to.LineWidth = from.LineWidth;
  to.LineStyle = static_cast<SubgraphLineStyles>(signed16(from.LineStyle));
  to.AddMethod = from.AddMode;
  to.TextAlignment = from.TextAlignment;
  if (from.FillColor != kUnsetColour) to.SecondaryColor = from.FillColor;
  to.MarkerType = from.MarkerType;
  to.MarkerSize = from.MarkerSize;
  to.TransparentLabelBackground = from.TransparentBackground;
  if (from.CopySettingA != kUnsetInt) to.AddAsUserDrawnDrawing = from.CopySettingA;
  to.AllowSaveToChartbook = from.CopySettingC;
  to.HideDrawing = signed16(from.Hidden);
  to.AllowCopyToOtherCharts = signed16(from.CopySettingB);
}

}  // namespace ostrel::sim

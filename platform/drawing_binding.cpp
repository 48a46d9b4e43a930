#include "platform/drawing_binding.h"

#include <cfloat>

#include "platform/sc_datetime.h"

namespace ostrel::platform {
namespace {

constexpr std::uint32_t kPlatformUnsetColour = 0xFF000000u;

std::int16_t asSigned16(std::uint16_t value) noexcept {
  return static_cast<std::int16_t>(value >= 32768u ? static_cast<std::int32_t>(value) - 65536
                                                   : static_cast<std::int32_t>(value));
}

std::uint16_t asUnsigned16(std::int32_t value) noexcept {
  return static_cast<std::uint16_t>(value < 0 ? value + 65536 : value);
}

}  // namespace

void toUseTool(const DrawingSpec& from, s_UseTool& to) noexcept {
  to.ChartNumber = from.ChartNumber;
  to.LineNumber = from.DrawingNumber;
  to.TransparencyLevel = from.Transparency;
  if (from.BeginValue != 0.0f) to.BeginValue = from.BeginValue;
  if (from.EndValue != 0.0f) to.EndValue = from.EndValue;
  if (from.Color != kUnsetColour) to.Color = from.Color;
  to.FontSize = from.FontSize;
  if (from.BeginTime != 0) to.BeginDateTime = toScDateTime(from.BeginTime);
  if (from.EndTime != 0) to.EndDateTime = toScDateTime(from.EndTime);
  if (!from.Text.empty()) to.Text = from.Text.c_str();
  if (from.DrawingType != kUnsetInt)
    to.DrawingType = static_cast<DrawingTypeEnum>(from.DrawingType);
  to.LineWidth = from.LineWidth;
  to.LineStyle = static_cast<SubgraphLineStyles>(asSigned16(from.LineStyle));
  to.AddMethod = from.AddMode;
  to.TextAlignment = from.TextAlignment;
  if (from.FillColor != kUnsetColour) to.SecondaryColor = from.FillColor;
  to.MarkerType = from.MarkerType;
  to.MarkerSize = from.MarkerSize;
  to.TransparentLabelBackground = from.TransparentBackground;
  if (from.CopySettingA != kUnsetInt) to.AddAsUserDrawnDrawing = from.CopySettingA;
  to.AllowSaveToChartbook = from.CopySettingC;
  to.HideDrawing = asSigned16(from.Hidden);
  to.AllowCopyToOtherCharts = asSigned16(from.CopySettingB);
}

void toDrawingSpec(const s_UseTool& from, DrawingSpec& to) noexcept {
  to.ChartNumber = from.ChartNumber;
  to.DrawingNumber = from.LineNumber;
  to.Transparency = from.TransparencyLevel;
  to.BeginValue = from.BeginValue == FLT_MIN ? 0.0f : from.BeginValue;
  to.EndValue = from.EndValue == FLT_MIN ? 0.0f : from.EndValue;
  to.Color = from.Color == kPlatformUnsetColour ? kUnsetColour : from.Color;
  to.FontSize = from.FontSize;
  to.BeginTime = fromScDateTime(from.BeginDateTime);
  to.EndTime = fromScDateTime(from.EndDateTime);
  to.Text.assign(from.Text.GetChars());
  to.DrawingType =
      from.DrawingType == DRAWING_UNKNOWN ? kUnsetInt : static_cast<std::int32_t>(from.DrawingType);
  to.LineWidth = from.LineWidth;
  to.LineStyle = asUnsigned16(static_cast<std::int32_t>(from.LineStyle));
  to.AddMode = from.AddMethod;
  to.TextAlignment = from.TextAlignment;
  to.FillColor = from.SecondaryColor == kPlatformUnsetColour ? kUnsetColour : from.SecondaryColor;
  to.MarkerType = from.MarkerType;
  to.MarkerSize = from.MarkerSize;
  to.TransparentBackground = from.TransparentLabelBackground;
  to.CopySettingA = from.AddAsUserDrawnDrawing == 0 ? kUnsetInt : from.AddAsUserDrawnDrawing;
  to.CopySettingC = from.AllowSaveToChartbook;
  to.Hidden = asUnsigned16(from.HideDrawing);
  to.CopySettingB = asUnsigned16(from.AllowCopyToOtherCharts);
}

}  // namespace ostrel::platform

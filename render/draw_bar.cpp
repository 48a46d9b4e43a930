#include "render/draw_bar.h"

#include "host/host_calls.h"
#include "host/out_of_memory.h"
#include "render/drawing_common.h"
#include "render/drawing_slots.h"
#include "render/scaled_length.h"
#include "render/window_units.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

namespace {

constexpr std::uint16_t kLineSolid = 0;
constexpr std::uint16_t kLineDashed = 1;
constexpr std::uint16_t kLineDotted = 2;

bool extendsLeft(std::int32_t direction, float value) noexcept {
  if (direction == kDirectionRight) return false;
  if (direction == kDirectionLeft) return true;
  return value < 0.0f;
}

}  // namespace

void applyBarStyle(DrawingSpec& spec, float value, const BarStyle& style,
                   const ProfileLayout& layout) {
  const bool positive = value >= 0.0f;
  const std::uint32_t colour = positive ? style.positiveColour : style.negativeColour;
  const std::int32_t lineStyle = positive ? style.positiveLineStyle : style.negativeLineStyle;
  const auto width = static_cast<std::uint16_t>(layout.width);
  spec.Color = colour;
  spec.LineWidth = width;
  switch (lineStyle) {
    case kBarStyleLine: spec.LineStyle = kLineSolid; break;
    case kBarStyleDot:
      spec.LineWidth = 1;
      spec.LineStyle = kLineDotted;
      break;
    case kBarStyleDash: spec.LineStyle = kLineDashed; break;
    case kBarStyleBar: {
      const float y = spec.BeginValue;
      spec.LineWidth = 1;
      spec.FillColor = colour;
      spec.Transparency = style.transparency;
      spec.BeginValue = y + layout.halfHeight;
      spec.EndValue = y - layout.halfHeight;
      break;
    }
    default: break;
  }
}

void drawBar(StudyHost& host, std::int32_t& drawingKey, float y, float value, const BarStyle& style,
             const ProfileLayout& layout) {
  drawBar(host, drawingKey, y, value, style, layout, readDrawingFlags(host));
}

void drawBar(StudyHost& host, std::int32_t& drawingKey, float y, float value, const BarStyle& style,
             const ProfileLayout& layout, const DrawingFlags& flags) {
  const std::int32_t k = drawingKey;
  DrawingSpec spec;
  const std::int32_t recorded = slotDrawingNumber(host, k);
  if (recorded != 0) spec.DrawingNumber = recorded;
  spec.AddMode = 3;
  spec.DrawingType = kDrawingRectangle;
  applyCopySetting(spec, flags.allowCopy);
  spec.BeginValue = y;
  spec.EndValue = y;

  const std::int32_t length = barLength(value, layout, flags.logarithmic);
  const std::int32_t origin = originUnit(layout.originPercent);
  const bool left = extendsLeft(layout.direction, value);
  const std::int32_t begin = left ? origin - length : origin;
  const std::int32_t end = left ? origin : origin + length;
  constexpr std::int64_t kRightEdge = unitsToTime(kWindowUnits);
  spec.BeginTime = unitsToTime(begin);
  spec.EndTime = unitsToTime(end);
  if (spec.BeginTime < 0) spec.BeginTime = 0;
  if (spec.EndTime > kRightEdge) spec.EndTime = kRightEdge;
  if (spec.EndTime < spec.BeginTime) spec.BeginTime = spec.EndTime;

  applyBarStyle(spec, value, style, layout);
  host::placeDrawing(host, spec);
  if (!recordPlacement(host, k, spec)) {
    const HostString message =
        formatHostString("drawBar: Failed to create/adjust drawing for key %d, strike %f",
                         static_cast<int>(k), static_cast<double>(y));
    logFormatted(host, message, 1);
  }
  advanceDrawingKey(drawingKey);
}

}  // namespace ostrel

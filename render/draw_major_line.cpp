#include "render/draw_major_line.h"

#include "host/host_calls.h"
#include "host/out_of_memory.h"
#include "render/drawing_common.h"
#include "render/drawing_slots.h"
#include "render/price_conversion.h"

namespace ostrel {

namespace {

std::uint16_t lineStyleFor(std::int32_t style) noexcept {
  return (style == 1 || style == 2) ? static_cast<std::uint16_t>(style) : 0;
}

// Host TextAlignment codes; -1 leaves the field unset.
std::int32_t alignmentFor(std::int32_t alignment) noexcept {
  switch (alignment) {
    case 0: return 4;
    case 1: return 6;
    case 2: return 5;
    default: return kUnsetInt;
  }
}

}  // namespace

void drawMajorLine(StudyHost& host, std::int32_t& drawingKey, float value,
                   const MajorLineInputs& line, const MajorLabelSettings& labels, float additive,
                   float multiplier) {
  const std::int32_t k = drawingKey;
  if (value == 0.0f || line.width <= 0 || !line.visible) {
    releaseSlot(host, k);
    advanceDrawingKey(drawingKey);
    return;
  }

  DrawingSpec spec;
  const std::int32_t recorded = slotDrawingNumber(host, k);
  if (recorded != 0) spec.DrawingNumber = recorded;
  spec.ChartNumber = host.ChartId;
  spec.AddMode = 3;
  spec.DrawingType = kDrawingHorizontalLine;
  applyCopySetting(host, spec);
  const float price = convertPrice(value, multiplier, additive);
  spec.BeginValue = price;
  spec.LineStyle = lineStyleFor(line.style);
  spec.LineWidth = static_cast<std::uint16_t>(line.width);
  spec.Color = line.colour;
  if (labels.show) {
    spec.Text = formatHostString("%s: %.2f", line.label != nullptr ? line.label : "",
                                 static_cast<double>(price));
    requireText(spec.Text);  // a line is never placed with its label lost
    spec.FontSize = labels.fontSize;
    spec.TransparentBackground = labels.transparentBackground ? 1 : 0;
    const std::int32_t alignment = alignmentFor(labels.alignment);
    if (alignment != kUnsetInt) spec.TextAlignment = alignment;
  }
  host::placeDrawing(host, spec);
  recordPlacement(host, k, spec);
  advanceDrawingKey(drawingKey);
}

}  // namespace ostrel

#include "render/draw_priors.h"

#include "host/host_calls.h"
#include "host/numeric.h"
#include "host/out_of_memory.h"
#include "render/drawing_common.h"
#include "render/drawing_slots.h"
#include "render/scaled_length.h"
#include "render/window_units.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

namespace {

// A marker at 150 units or beyond sits at 149, one unit inside the bars' right limit.
constexpr std::int64_t kMarkerRightLimit = unitsToTime(kWindowUnits) - 1;
constexpr std::int64_t kMarkerRightPosition = unitsToTime(kWindowUnits - 1);

bool placesLeft(std::int32_t direction, float value) noexcept {
  if (direction == kDirectionRight) return false;
  if (direction == kDirectionLeft) return true;
  return value < 0.0f;
}

}  // namespace

std::int32_t markerTypeFor(std::int32_t dotStyle) noexcept {
  switch (dotStyle) {
    case 1: return 14;
    case 2: return 2;
    default: return 0;
  }
}

void drawPriors(StudyHost& host, std::int32_t& drawingKey, float y, FloatSpan priors,
                const PriorDots& dots, const ProfileLayout& layout, std::int32_t first,
                std::int32_t count) {
  drawPriors(host, drawingKey, y, priors, dots, layout, first, count, readDrawingFlags(host));
}

void drawPriors(StudyHost& host, std::int32_t& drawingKey, float y, FloatSpan priors,
                const PriorDots& dots, const ProfileLayout& layout, std::int32_t first,
                std::int32_t count, const DrawingFlags& flags) {
  if (count <= 0 || first < 0 || count > dots.count) return;
  if (static_cast<std::size_t>(first) + static_cast<std::size_t>(count) > priors.size) return;

  const bool logarithmic = flags.logarithmic;
  const std::int32_t origin = originUnit(layout.originPercent);
  const std::int32_t markerType = markerTypeFor(layout.dotStyle);
  const std::int32_t markerSize = truncToInt32(static_cast<double>(layout.dotSize));
  for (std::int32_t j = 0; j < count; ++j) {
    const std::int32_t k = drawingKey;
    const float v = priors[static_cast<std::size_t>(first) + static_cast<std::size_t>(j)];
    DrawingSpec spec;
    const std::int32_t recorded = slotDrawingNumber(host, k);
    if (recorded != 0) spec.DrawingNumber = recorded;
    spec.ChartNumber = host.ChartId;
    spec.AddMode = 3;
    spec.DrawingType = kDrawingMarker;
    applyCopySetting(spec, flags.allowCopy);
    if (dots.shown[static_cast<std::size_t>(j)] == 0) spec.Hidden = 1;
    spec.MarkerType = markerType;
    spec.MarkerSize = markerSize;
    spec.Color = dots.colours[static_cast<std::size_t>(j)];
    spec.BeginValue = y;

    const std::int32_t length = markerLength(v, layout, logarithmic);
    const std::int32_t x = placesLeft(layout.direction, v) ? origin - length : origin + length;
    spec.BeginTime = unitsToTime(x);
    if (spec.BeginTime < 0) spec.BeginTime = 0;
    if (spec.BeginTime > kMarkerRightLimit) spec.BeginTime = kMarkerRightPosition;

    host::placeDrawing(host, spec);
    if (!recordPlacement(host, k, spec)) {
      const HostString message =
          formatHostString("drawPriors: Failed to create/adjust marker for key %d, value %f",
                           static_cast<int>(k), static_cast<double>(v));
      logFormatted(host, message, 1);
    }
    advanceDrawingKey(drawingKey);
  }
}

}  // namespace ostrel

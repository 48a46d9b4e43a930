// drawBar: one strike's bar, a rectangle from the origin towards the side of its value.
//
// y is the bar's price after conversion and vertical offset. The bar uses slot `drawingKey`
// (adjusting the drawing recorded there, if any) and advances it by one whether or not the host
// placed it; a failure is logged with flag 1 as
// "drawBar: Failed to create/adjust drawing for key %d, strike %f" (key, y).
// Horizontal extent in window units: Right (and Center for v >= 0) from origin to origin + L,
// Left (and Center for v < 0) from origin - L to origin; clamped to 0..150.
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "render/bar_style.h"
#include "render/drawing_common.h"
#include "render/profile_layout.h"

namespace ostrel {

void drawBar(StudyHost& host, std::int32_t& drawingKey, float y, float value, const BarStyle& style,
             const ProfileLayout& layout);
// The same with the pass's flags already read (render/drawing_common.h).
void drawBar(StudyHost& host, std::int32_t& drawingKey, float y, float value, const BarStyle& style,
             const ProfileLayout& layout, const DrawingFlags& flags);

// Colour, width and line style of the value's side; for "Bar" also fill, transparency and a
// height of 2 x halfHeight centred on the record's BeginValue.
void applyBarStyle(DrawingSpec& spec, float value, const BarStyle& style,
                   const ProfileLayout& layout);

}  // namespace ostrel

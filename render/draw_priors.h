// drawPriors: the prior-value markers of one strike, on the strike's bar line (price y).
//
// Marker j stands where the end of the bar would have been for prior value
// priors[first + j]: origin +/- its length (render/scaled_length.h; no one-unit minimum),
// placed at a whole window unit in 0..149. Every marker is placed, a marker whose display flag
// is 0 with Hidden = 1, and each takes one slot: `drawingKey` advances by `count` whatever the
// host answers. A marker the host does not place is logged with flag 1 as
// "drawPriors: Failed to create/adjust marker for key %d, value %f" (key, prior value).
// Nothing happens for count <= 0; a run that `priors` or `dots` does not fully hold is not
// drawn at all (the caller checks this first).
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "render/drawing_common.h"
#include "render/float_span.h"
#include "render/prior_dots.h"
#include "render/profile_layout.h"

namespace ostrel {

void drawPriors(StudyHost& host, std::int32_t& drawingKey, float y, FloatSpan priors,
                const PriorDots& dots, const ProfileLayout& layout, std::int32_t first,
                std::int32_t count);
// The same with the pass's flags already read (render/drawing_common.h).
void drawPriors(StudyHost& host, std::int32_t& drawingKey, float y, FloatSpan priors,
                const PriorDots& dots, const ProfileLayout& layout, std::int32_t first,
                std::int32_t count, const DrawingFlags& flags);

// MarkerType for a "Point;Diamond;Square" index: 0, 14, 2; any other index gives 0.
std::int32_t markerTypeFor(std::int32_t dotStyle) noexcept;

}  // namespace ostrel

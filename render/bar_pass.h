// The four bar passes of the render pass and the inputs that feed each: GEX volume (five
// priors per strike), GEX OI (no markers; handed the GEX dot settings, which it never uses),
// gamma and delta (three priors per strike each).
//
// runBarPass reads the pass's offset, colours, line styles, N-largest counts and dot settings,
// scales the layout to the pass's maximum (scale = span / maximum) and draws the profile.
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "render/draw_profile.h"
#include "render/float_span.h"
#include "render/profile_layout.h"

namespace ostrel {

enum class BarPass { kGexVolume, kGexOi, kGamma, kDelta };

struct BarPassData {
  FloatSpan strikePrices;
  FloatSpan values;
  FloatSpan priors;
  float maximum = 0.0f;
};

void runBarPass(StudyHost& host, std::int32_t& drawingKey, BarPass pass, const BarPassData& data,
                ProfileLayout layout, float span, float additive, float multiplier,
                ProfileScratch& scratch);

}  // namespace ostrel

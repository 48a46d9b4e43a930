// drawProfile: one bar pass: the kept strikes (render/select_largest.h) in their order, each
// as its bar followed by its priorsPerStrike markers, so the slots run bar, markers, bar, ...
//
// A strike's bar sits at y = strike x multiplier + verticalOffset + additive (single precision,
// in that order). Its markers are drawn only when the view has priors, priorsPerStrike > 0,
// the strike has a position i (render/strike_positions.h), the priors hold
// priorsPerStrike x (i + 1) values and `dots` holds priorsPerStrike entries; otherwise the
// bar stands alone and takes no marker slots. `scratch` carries reusable storage between the
// passes of one render pass; it holds no state that matters between calls.
#pragma once

#include <cstdint>
#include <vector>

#include "host/study_host.h"
#include "render/bar_style.h"
#include "render/largest_counts.h"
#include "render/prior_dots.h"
#include "render/profile_layout.h"
#include "render/profile_view.h"
#include "render/strike_bar.h"
#include "render/strike_positions.h"

namespace ostrel {

struct ProfileScratch {
  std::vector<StrikeBar> bars;
  StrikePositions positions;
};

void drawProfile(StudyHost& host, std::int32_t& drawingKey, const ProfileView& view,
                 const BarStyle& style, const PriorDots& dots, const ProfileLayout& layout,
                 LargestCounts counts, float additive, float multiplier, ProfileScratch& scratch);

}  // namespace ostrel

// Lengths in whole window units of a bar and of a prior marker for one value of a pass.
//
// Linear: |scale x v|. Logarithmic: log10(|v| + 1) / log10(M + 1) x (scale x M), so the
// maximum keeps its linear length W and smaller values grow longer than linear. A bar of a
// value above 1e-6 in magnitude is at least one unit long; a marker has no minimum. A maximum
// at or below 1e-9 gives logarithmic length 0. Every length is capped at the window width and
// NaN gives 0 (render/window_units.h), whatever v, scale and M hold.
#pragma once

#include <cstdint>

#include "render/profile_layout.h"

namespace ostrel {

std::int32_t barLength(float value, const ProfileLayout& layout, bool logarithmic) noexcept;
std::int32_t markerLength(float value, const ProfileLayout& layout, bool logarithmic) noexcept;

}  // namespace ostrel

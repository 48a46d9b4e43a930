// ProfileView: what one bar pass draws: strikes, the pass's values and the flat priors
// sequence, with the pass's vertical offset and the number of priors per strike.
//
// The three sequences are views into the profile record, not copies: the record is not touched
// while a pass draws, so a view shows the same values a copy would. Strikes and values are
// paired by index up to the shorter of the two; the priors of strike i are the
// `priorsPerStrike` values from index priorsPerStrike x i, when the sequence holds them.
#pragma once

#include <cstdint>

#include "render/float_span.h"

namespace ostrel {

struct ProfileView {
  FloatSpan strikePrices;
  FloatSpan values;
  FloatSpan priors;
  float verticalOffset = 0.0f;  // price units
  std::int32_t priorsPerStrike = 0;
};

}  // namespace ostrel

// StrikeBar: one strike that a pass draws, with its value and its position in the profile.
#pragma once

#include <cstddef>

namespace ostrel {

struct StrikeBar {
  float strike = 0.0f;
  float value = 0.0f;
  std::size_t index = 0;  // where the strike stands in the profile's sequences
};

}  // namespace ostrel

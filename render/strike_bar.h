// StrikeBar: one strike that a pass draws, with its value.
#pragma once

namespace ostrel {

struct StrikeBar {
  float strike = 0.0f;
  float value = 0.0f;
};

}  // namespace ostrel

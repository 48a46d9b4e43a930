// GreekData: the latest gamma or delta profile (State package), as the render pass reads it.
//
// Same rules as GexData: values as sent, one element per strike in the per-strike sequences,
// three priors per strike in a normal answer, `max_abs_value` at least 0.001 after a fill, and
// clear() keeps capacity.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host_string.h"

namespace ostrel {

struct GreekData {
  std::int32_t timestamp = 0;
  HostString ticker;
  float spot = 0.0f;
  float major_positive = 0.0f;
  float major_negative = 0.0f;
  float major_long_gamma = 0.0f;
  float major_short_gamma = 0.0f;
  std::vector<float> strike_prices;
  std::vector<float> value1;
  std::vector<float> value2;
  std::vector<float> value3;
  std::vector<float> priors;
  float max_abs_value = 0.0f;

  void clear() noexcept;
};

}  // namespace ostrel

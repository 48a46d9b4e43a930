// LargestCounts: how many of the largest bars of each sign a pass draws; 0 (or a negative
// count) draws all of that sign.
#pragma once

#include <cstdint>

namespace ostrel {

struct LargestCounts {
  std::int32_t positive = 0;
  std::int32_t negative = 0;
};

}  // namespace ostrel

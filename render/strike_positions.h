// StrikePositions: finds a drawn strike's position in the profile's strike sequence, to reach
// its priors. The position is the last index whose strike equals the strike exactly (0.0 and
// -0.0 are equal); a NaN strike has no position. Built once per pass in O(n log n), looked up
// in O(log n); the storage is reused from pass to pass.
#pragma once

#include <cstdint>
#include <vector>

#include "render/float_span.h"

namespace ostrel {

class StrikePositions {
 public:
  void build(FloatSpan strikes);
  // The position, or -1 when no strike equals `strike`.
  std::int64_t find(float strike) const;

 private:
  struct Entry {
    float strike;
    std::int64_t index;
  };
  std::vector<Entry> entries_;
};

}  // namespace ostrel

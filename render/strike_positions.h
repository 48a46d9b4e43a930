// StrikePositions: finds a drawn strike's position in the profile's strike sequence, to reach
// its priors. The position is the last index whose strike equals the strike exactly (0.0 and
// -0.0 are equal); a NaN strike has no position. Built once per pass in O(n log n) (O(n) for
// strictly ascending strikes, the usual answer), looked up in O(log n) by strike or O(1) by the
// index of a strike of the built sequence; the storage is reused from pass to pass.
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
  // find(strikes[index]) for the sequence last built; -1 for an index beyond it.
  std::int64_t findAt(std::size_t index) const noexcept {
    return index < lastEqual_.size() ? lastEqual_[index] : -1;
  }

 private:
  struct Entry {
    float strike;
    std::int64_t index;
  };
  std::vector<Entry> entries_;
  std::vector<std::int64_t> lastEqual_;  // by index: the last index of an equal strike, or -1
};

}  // namespace ostrel

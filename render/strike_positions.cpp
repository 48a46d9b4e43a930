#include "render/strike_positions.h"

#include <algorithm>
#include <cmath>

namespace ostrel {

void StrikePositions::build(FloatSpan strikes) {
  entries_.clear();
  entries_.reserve(strikes.size);
  for (std::size_t i = 0; i < strikes.size; ++i) {
    if (!std::isnan(strikes[i])) {
      entries_.push_back(Entry{strikes[i], static_cast<std::int64_t>(i)});
    }
  }
  // By strike, then by index, so the last entry of a run of equal strikes has the last index.
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    if (a.strike < b.strike) return true;
    if (b.strike < a.strike) return false;
    return a.index < b.index;
  });
}

std::int64_t StrikePositions::find(float strike) const {
  if (std::isnan(strike)) return -1;
  const auto after =
      std::upper_bound(entries_.begin(), entries_.end(), strike,
                       [](float value, const Entry& entry) { return value < entry.strike; });
  if (after == entries_.begin()) return -1;
  const Entry& last = *(after - 1);
  return last.strike == strike ? last.index : -1;
}

}  // namespace ostrel

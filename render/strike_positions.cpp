#include "render/strike_positions.h"

#include <algorithm>
#include <cmath>

namespace ostrel {

void StrikePositions::build(FloatSpan strikes) {
  entries_.clear();
  entries_.reserve(strikes.size);
  lastEqual_.assign(strikes.size, -1);
  bool ascending = true;
  for (std::size_t i = 0; i < strikes.size; ++i) {
    if (std::isnan(strikes[i])) {
      ascending = false;
      continue;
    }
    if (!entries_.empty() && !(entries_.back().strike < strikes[i])) ascending = false;
    entries_.push_back(Entry{strikes[i], static_cast<std::int64_t>(i)});
  }
  if (ascending) {  // already in order, every strike its own run
    for (std::size_t i = 0; i < strikes.size; ++i) lastEqual_[i] = static_cast<std::int64_t>(i);
    return;
  }
  // By strike, then by index, so the last entry of a run of equal strikes has the last index.
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    if (a.strike < b.strike) return true;
    if (b.strike < a.strike) return false;
    return a.index < b.index;
  });
  for (std::size_t end = entries_.size(); end > 0;) {
    const Entry& last = entries_[end - 1];
    std::size_t begin = end - 1;
    while (begin > 0 && entries_[begin - 1].strike == last.strike) --begin;
    for (std::size_t j = begin; j < end; ++j) {
      lastEqual_[static_cast<std::size_t>(entries_[j].index)] = last.index;
    }
    end = begin;
  }
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

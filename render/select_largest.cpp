#include "render/select_largest.h"

#include <algorithm>
#include <cstdint>

namespace ostrel {

namespace {

// A count of 0 keeps all; a negative count, taken as an unsigned size, exceeds any list.
std::size_t keptSize(std::int32_t count, std::size_t size) noexcept {
  if (count == 0) return size;
  return std::min(static_cast<std::size_t>(static_cast<std::uint32_t>(count)), size);
}

}  // namespace

void selectLargest(FloatSpan strikes, FloatSpan values, LargestCounts counts,
                   std::vector<StrikeBar>& out) {
  out.clear();
  const std::size_t n = std::min(strikes.size, values.size);
  std::size_t positives = 0;
  std::size_t negatives = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (values[i] > 0.0f) ++positives;
    if (values[i] < 0.0f) ++negatives;
  }
  out.reserve(positives + negatives);
  for (std::size_t i = 0; i < n; ++i) {
    if (values[i] > 0.0f) out.push_back(StrikeBar{strikes[i], values[i], i});
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (values[i] < 0.0f) out.push_back(StrikeBar{strikes[i], values[i], i});
  }

  const auto firstNegative = out.begin() + static_cast<std::ptrdiff_t>(positives);
  std::sort(out.begin(), firstNegative,
            [](const StrikeBar& a, const StrikeBar& b) { return a.value > b.value; });
  std::sort(firstNegative, out.end(),
            [](const StrikeBar& a, const StrikeBar& b) { return a.value < b.value; });

  const std::size_t keepPositive = keptSize(counts.positive, positives);
  const std::size_t keepNegative = keptSize(counts.negative, negatives);
  if (keepPositive < positives) {
    std::move(firstNegative, firstNegative + static_cast<std::ptrdiff_t>(keepNegative),
              out.begin() + static_cast<std::ptrdiff_t>(keepPositive));
  }
  out.resize(keepPositive + keepNegative);
}

}  // namespace ostrel

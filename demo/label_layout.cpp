#include "demo/label_layout.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace ostrel::demo {

std::vector<double> spreadLabels(const std::vector<double>& wanted, double height, double gap,
                                 double low, double high) {
  const std::size_t n = wanted.size();
  std::vector<double> placed(n);
  if (n == 0) return placed;
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&wanted](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });

  const double pitch = height + gap;
  const double first = low + height / 2.0, last = high - height / 2.0;
  if (static_cast<double>(n - 1) * pitch > last - first) {
    const double step = n > 1 ? (last - first) / static_cast<double>(n - 1) : 0.0;
    for (std::size_t k = 0; k < n; ++k) placed[order[k]] = first + step * static_cast<double>(k);
    return placed;
  }
  // Push down what collides with the label above, then pull up from the bottom edge; after both
  // passes every label is at least a pitch from its neighbours and inside the range.
  double previous = first - pitch;
  for (std::size_t k = 0; k < n; ++k) {
    const double y = std::max({wanted[order[k]], first, previous + pitch});
    placed[order[k]] = y;
    previous = y;
  }
  double next = last + pitch;
  for (std::size_t k = n; k-- > 0;) {
    const double y = std::min(placed[order[k]], next - pitch);
    placed[order[k]] = y;
    next = y;
  }
  return placed;
}

}  // namespace ostrel::demo

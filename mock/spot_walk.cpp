#include "mock/spot_walk.h"

#include <cmath>

#include "mock/ny_time.h"
#include "mock/rng.h"

namespace ostrel::mock {

SpotWalk::SpotWalk(std::uint64_t seed, const TickerSpec& spec, std::int64_t day) {
  const std::uint64_t stream =
      hashKey(seed, hashText(spec.symbol), static_cast<std::uint64_t>(day));
  const double open = spec.base_spot * std::exp(0.015 * normalOf(hashKey(stream, 1)));
  const double drift_per_second =
      0.5 * spec.daily_move * normalOf(hashKey(stream, 2)) / static_cast<double>(kSessionSeconds);
  const double step = spec.daily_move / std::sqrt(static_cast<double>(kSessionSeconds));
  path_.resize(static_cast<std::size_t>(kSessionSeconds) + 1);
  double log_price = std::log(open);
  const double log_open = log_price;
  path_[0] = open;
  for (std::size_t i = 1; i < path_.size(); ++i) {
    // A slight pull back toward the open keeps most days inside a realistic range.
    const double pull = -0.00002 * (log_price - log_open);
    log_price += drift_per_second + pull + step * normalOf(hashKey(stream, 3, i));
    path_[i] = std::exp(log_price);
  }
}

double SpotWalk::atSecondOfDay(std::int64_t second) const noexcept {
  std::int64_t index = second - kSessionOpenSecond;
  if (index < 0) index = 0;
  if (index > kSessionSeconds) index = kSessionSeconds;
  return path_[static_cast<std::size_t>(index)];
}

}  // namespace ostrel::mock

#include "mock/chain_model.h"

#include <cmath>

#include "mock/ny_time.h"
#include "mock/rng.h"

namespace ostrel::mock {

namespace {

constexpr std::int64_t kMinutes = kSessionSeconds / 60;
constexpr double kSecondsPerYear = 365.0 * 86400.0;

double roundness(double strike, double step) noexcept {
  const double units = std::round(strike / step);
  const auto n = static_cast<long long>(units);
  if (n % 10 == 0) return 3.0;
  if (n % 5 == 0) return 2.0;
  if (n % 2 == 0) return 1.3;
  return 1.0;
}

double bump(double x, double centre, double width) noexcept {
  const double z = (x - centre) / width;
  return std::exp(-0.5 * z * z);
}

double logistic(double x) noexcept { return 1.0 / (1.0 + std::exp(-x)); }

// Share of the day's volume traded in a minute: busy open and close, quiet lunch.
double intensity(std::int64_t minute) noexcept {
  const double u = static_cast<double>(minute) / static_cast<double>(kMinutes);
  return 0.6 + 1.2 * (u - 0.5) * (u - 0.5) * 4.0 * (u < 0.5 ? 1.0 : 0.8);
}

double expiryOiShare(Expiry e) noexcept {
  switch (e) {
    case Expiry::kAggregate: return 1.0;
    case Expiry::kZeroDay: return 0.35;
    case Expiry::kOneDay: return 0.25;
  }
  return 1.0;
}

}  // namespace

DayChain::DayChain(std::uint64_t seed, const TickerSpec& spec, std::int64_t day, Expiry expiry,
                   const SpotWalk& walk)
    : expiry_(expiry) {
  const std::uint64_t stream = hashKey(seed, hashText(spec.symbol), static_cast<std::uint64_t>(day),
                                       static_cast<std::uint64_t>(expiry) + 11);
  const double open = walk.open();
  const double centre = std::round(open / spec.strike_step) * spec.strike_step;
  const int n = 2 * spec.strikes_each_side + 1;
  strikes_.resize(static_cast<std::size_t>(n));
  call_oi_.resize(strikes_.size());
  put_oi_.resize(strikes_.size());

  const double width = 0.03 * open;
  // Coarse strike grids (stocks) keep their walls a few strikes away from the price.
  const double gap = 1.5 * spec.strike_step;
  const double call_centre = open * (1.0 + 0.012 + 0.006 * normalOf(hashKey(stream, 1))) + gap;
  const double put_centre = open * (1.0 - 0.015 + 0.006 * normalOf(hashKey(stream, 2))) - gap;
  const int call_wall = 4 + static_cast<int>(uniformOf(hashKey(stream, 3)) * 10.0);
  const int put_wall = 4 + static_cast<int>(uniformOf(hashKey(stream, 4)) * 12.0);
  const double scale = spec.oi_scale * expiryOiShare(expiry);

  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const int offset = i - spec.strikes_each_side;
    const double strike = centre + offset * spec.strike_step;
    strikes_[k] = strike;
    const double round = roundness(strike, spec.strike_step);
    const double above = logistic((strike - open) / (0.008 * open));
    const double noise_c = std::exp(0.25 * normalOf(hashKey(stream, 10, k)));
    const double noise_p = std::exp(0.25 * normalOf(hashKey(stream, 11, k)));
    double c = scale * round * noise_c *
               (0.04 * (0.3 + above) + bump(strike, call_centre, width) * (0.2 + above));
    double p = scale * round * noise_p *
               (0.04 * (1.3 - above) + bump(strike, put_centre, width) * (1.2 - above));
    // Walls land on the nearest strong (multiple of five steps) strike.
    if (offset > 0 && offset == (call_wall / 5 + 1) * 5) c *= 2.5;
    if (offset < 0 && -offset == (put_wall / 5 + 1) * 5) p *= 2.5;
    call_oi_[k] = std::round(c);
    put_oi_[k] = std::round(p);
  }

  // Volume, minute by minute, around the price of that minute.
  const std::size_t rows = static_cast<std::size_t>(kMinutes) + 1;
  cum_call_.assign(rows * strikes_.size(), 0.0);
  cum_put_.assign(rows * strikes_.size(), 0.0);
  const double per_minute = (expiry == Expiry::kZeroDay ? 1.4 : 0.8) * scale / kMinutes;
  const double vol_width = 0.006 * open;
  for (std::size_t k = 0; k < strikes_.size(); ++k) {
    const double pre = 0.05 * scale * roundness(strikes_[k], spec.strike_step);
    cum_call_[k] = std::round(pre * bump(strikes_[k], open * 1.004, 2.0 * vol_width));
    cum_put_[k] = std::round(pre * bump(strikes_[k], open * 0.996, 2.0 * vol_width));
  }
  for (std::size_t m = 1; m < rows; ++m) {
    const double price =
        walk.atSecondOfDay(kSessionOpenSecond + static_cast<std::int64_t>(m - 1) * 60);
    const double share = per_minute * intensity(static_cast<std::int64_t>(m - 1));
    for (std::size_t k = 0; k < strikes_.size(); ++k) {
      const double strike = strikes_[k];
      const double round = roundness(strike, spec.strike_step);
      const double noise = uniformOf(hashKey(stream, 20 + m, k));
      const double dc =
          share * round * bump(strike, price + 0.002 * open, vol_width) * (0.5 + noise);
      const double dp =
          share * round * bump(strike, price - 0.002 * open, vol_width) * (1.5 - noise);
      cum_call_[m * strikes_.size() + k] =
          cum_call_[(m - 1) * strikes_.size() + k] + std::round(dc);
      cum_put_[m * strikes_.size() + k] = cum_put_[(m - 1) * strikes_.size() + k] + std::round(dp);
    }
  }
}

void DayChain::volumesAt(std::int64_t second_of_day, std::vector<double>& call_volume,
                         std::vector<double>& put_volume) const {
  std::int64_t s = second_of_day - kSessionOpenSecond;
  if (s < 0) s = 0;
  if (s > kSessionSeconds) s = kSessionSeconds;
  const std::int64_t minute = s / 60 < kMinutes ? s / 60 : kMinutes - 1;
  const double frac = static_cast<double>(s - minute * 60) / 60.0;
  const std::size_t n = strikes_.size();
  const std::size_t row = static_cast<std::size_t>(minute);
  call_volume.resize(n);
  put_volume.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double c0 = cum_call_[row * n + k], c1 = cum_call_[(row + 1) * n + k];
    const double p0 = cum_put_[row * n + k], p1 = cum_put_[(row + 1) * n + k];
    call_volume[k] = std::floor(c0 + frac * (c1 - c0));
    put_volume[k] = std::floor(p0 + frac * (p1 - p0));
  }
}

double DayChain::yearsToExpiry(std::int64_t second_of_day) const noexcept {
  double seconds = static_cast<double>(kSessionCloseSecond - second_of_day);
  if (expiry_ == Expiry::kOneDay) seconds += 86400.0;
  if (expiry_ == Expiry::kAggregate) seconds += 30.0 * 86400.0;
  if (seconds < 600.0) seconds = 600.0;
  return seconds / kSecondsPerYear;
}

}  // namespace ostrel::mock

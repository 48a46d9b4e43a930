// The synthetic option chain of one underlying for one day and one expiry family.
//
// Open interest is fixed for the day (it changes overnight): strong at round strikes, puts
// mostly below the opening price and calls mostly above, plus one seeded "wall" on each side.
// Volume accumulates through the session around wherever the price is trading, by minute, with
// a pre-market base so the opening profile is not empty. Everything is a pure function of
// (seed, ticker, day, expiry).
#pragma once

#include <cstdint>
#include <vector>

#include "mock/spot_walk.h"
#include "mock/tickers.h"

namespace ostrel::mock {

enum class Expiry { kAggregate, kZeroDay, kOneDay };

class DayChain {
 public:
  DayChain(std::uint64_t seed, const TickerSpec& spec, std::int64_t day, Expiry expiry,
           const SpotWalk& walk);

  std::size_t size() const noexcept { return strikes_.size(); }
  const std::vector<double>& strikes() const noexcept { return strikes_; }
  const std::vector<double>& callOi() const noexcept { return call_oi_; }
  const std::vector<double>& putOi() const noexcept { return put_oi_; }
  Expiry expiry() const noexcept { return expiry_; }

  // Cumulative volume per strike at a second of the New York day (flat outside the session).
  void volumesAt(std::int64_t second_of_day, std::vector<double>& call_volume,
                 std::vector<double>& put_volume) const;
  // Years to expiry seen at a second of the day; never below ten minutes.
  double yearsToExpiry(std::int64_t second_of_day) const noexcept;

 private:
  Expiry expiry_;
  std::vector<double> strikes_;
  std::vector<double> call_oi_;
  std::vector<double> put_oi_;
  // (minutes + 1) rows of size() values: the volume traded up to the start of each minute.
  std::vector<double> cum_call_;
  std::vector<double> cum_put_;
};

}  // namespace ostrel::mock

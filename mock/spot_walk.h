// The underlying's price through one New York session: a seeded random walk, one step a second.
//
// The path is a pure function of (seed, ticker, day). Before the open it reads the opening
// price, after the close the closing price. Each day opens within a few percent of the ticker's
// base level, with its own drift, so consecutive days differ.
#pragma once

#include <cstdint>
#include <vector>

#include "mock/tickers.h"

namespace ostrel::mock {

class SpotWalk {
 public:
  SpotWalk(std::uint64_t seed, const TickerSpec& spec, std::int64_t day);

  double open() const noexcept { return path_.front(); }
  double close() const noexcept { return path_.back(); }
  // Price at a second of the New York day (0..86399); clamped to the session.
  double atSecondOfDay(std::int64_t second) const noexcept;

 private:
  std::vector<double> path_;  // kSessionSeconds + 1 prices, from the open
};

}  // namespace ostrel::mock

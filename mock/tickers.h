// The underlyings the mock service knows, with the shape of their option chains.
//
// Futures-style aliases (ES_SPX, NQ_NDX) answer with the chain of their index. Lookup is by the
// upper-case ticker as it appears in the URL; anything else is an unknown ticker.
#pragma once

#include <string>

namespace ostrel::mock {

struct TickerSpec {
  const char* symbol;  // the underlying whose chain answers
  double base_spot;    // the seeded days open within a few percent of this
  double strike_step;
  int strikes_each_side;  // strikes listed below and above the day's opening strike
  double atm_vol;         // annualised at-the-money volatility of 30-day options
  double daily_move;      // standard deviation of one session's return
  double oi_scale;        // open interest of a strong strike, contracts
  double future_premium;  // typical additive premium of its future (0: none)
};

// Null for an unknown ticker.
const TickerSpec* findTicker(const std::string& ticker) noexcept;

}  // namespace ostrel::mock

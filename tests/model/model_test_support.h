// Helpers for the parser tests: run a parser on the simulated host and collect its log.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/gex_data.h"
#include "model/greek_data.h"
#include "model/parse_outcome.h"
#include "sim/sim_host.h"

namespace ostrel::test {

struct Logged {
  std::string text;
  int flag = 0;
};

inline std::vector<Logged> logOf(const sim::SimHost& sim) {
  std::vector<Logged> out;
  for (const auto& entry : sim.lastCall().log) out.push_back({entry.text, entry.flag});
  return out;
}

// One expected log line, or none when `text` is null.
inline void expectLog(const std::vector<Logged>& log, const char* text, int flag) {
  if (text == nullptr) {
    EXPECT_TRUE(log.empty()) << "unexpected log: " << (log.empty() ? "" : log[0].text);
    return;
  }
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, text);
  EXPECT_EQ(log[0].flag, flag);
}

inline const char* outcomeName(ParseOutcome outcome) {
  switch (outcome) {
    case ParseOutcome::filled: return "filled";
    case ParseOutcome::retry: return "retry";
    case ParseOutcome::halt: return "halt";
  }
  return "?";
}

inline void expectCleared(const GexData& d) {
  EXPECT_EQ(d.timestamp, 0);
  EXPECT_TRUE(d.ticker.empty());
  EXPECT_FALSE(d.ticker.owns_storage());
  for (float f : {d.spot, d.zero_gamma, d.major_pos_vol, d.major_pos_oi, d.major_neg_vol,
                  d.major_neg_oi, d.sum_gex_vol, d.sum_gex_oi, d.delta_risk_reversal, d.max_abs_vol,
                  d.max_abs_oi, d.max_abs_all}) {
    EXPECT_EQ(f, 0.0f);
  }
  EXPECT_TRUE(d.strike_prices.empty());
  EXPECT_TRUE(d.gex_vol.empty());
  EXPECT_TRUE(d.gex_oi.empty());
  EXPECT_TRUE(d.priors.empty());
  EXPECT_TRUE(d.max_priors.empty());
}

inline void expectCleared(const GreekData& d) {
  EXPECT_EQ(d.timestamp, 0);
  EXPECT_TRUE(d.ticker.empty());
  for (float f : {d.spot, d.major_positive, d.major_negative, d.major_long_gamma,
                  d.major_short_gamma, d.max_abs_value}) {
    EXPECT_EQ(f, 0.0f);
  }
  EXPECT_TRUE(d.strike_prices.empty());
  EXPECT_TRUE(d.value1.empty());
  EXPECT_TRUE(d.value2.empty());
  EXPECT_TRUE(d.value3.empty());
  EXPECT_TRUE(d.priors.empty());
}

// A record holding something, so that tests can see it being cleared.
inline void dirty(GexData& d) {
  d.timestamp = 9;
  d.ticker = "OLD";
  d.spot = 1.0f;
  d.max_abs_all = 2.0f;
  d.strike_prices = {1.0f};
  d.gex_vol = {1.0f};
  d.gex_oi = {1.0f};
  d.priors = {1.0f};
  d.max_priors = {{1.0f, 2.0f}};
}

inline void dirty(GreekData& d) {
  d.timestamp = 9;
  d.ticker = "OLD";
  d.spot = 1.0f;
  d.max_abs_value = 2.0f;
  d.strike_prices = {1.0f};
  d.value3 = {1.0f};
  d.priors = {1.0f};
}

}  // namespace ostrel::test

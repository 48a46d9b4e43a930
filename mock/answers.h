// The bodies of the service's successful answers, written from the market model's snapshots.
//
// GEX: {"timestamp", "ticker", "spot", "zero_gamma", the four majors, "sum_gex_vol",
// "sum_gex_oi", "delta_risk_reversal", "strikes": [[strike, gex_vol, gex_oi, [5 priors]]...],
// "max_priors": [[strike, change] x5]}. Greek: the same header with the four Greek majors and
// "mini_contracts": [[strike, v1, v2, v3, [3 priors]]...]. History: an array of
// {"timestamp", "major_call_gamma", "major_put_gamma", "zero_gamma"}. Timestamps are Unix
// seconds. Strikes with no exposure at all are left out of the profile answers. Errors:
// {"error": text} and {"message": text}.
#pragma once

#include <string>
#include <vector>

#include "mock/market_model.h"

namespace ostrel::mock {

std::string gexAnswer(const std::string& ticker, const GexSnapshot& snapshot);
std::string greekAnswer(const std::string& ticker, const GreekSnapshot& snapshot);
std::string historyAnswer(const std::vector<HistoryPoint>& points);
std::string errorBody(const std::string& text);
std::string messageBody(const std::string& text);

}  // namespace ostrel::mock

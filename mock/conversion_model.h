// The futures conversion: multiplier and additive premium from an underlying to a future.
//
// ES and MES follow SPX, NQ and MNQ follow NDX. The future trades at its index plus a premium
// that starts each day between +30 and +60 (ES; about 3.5 times that for NQ) and drifts through
// the day. Model "additive": multiplier 1 and additive = future - underlying. Model "affine":
// multiplier = index / underlying and additive = the premium. The ticker is matched without
// regard to case (the study sends it lower-cased).
#pragma once

#include <cstdint>
#include <string>

#include "mock/market_model.h"

namespace ostrel::mock {

struct ConversionResult {
  bool ok = false;
  std::string error;            // set when !ok: the text of the {"error": ...} answer
  std::string future_contract;  // e.g. "ESM6"
  std::string model;
  double multiplier = 1.0;
  double additive = 0.0;
  std::int64_t timestamp = 0;
};

ConversionResult convertToFuture(MarketModel& model, const std::string& ticker,
                                 const std::string& future, const std::string& model_name,
                                 std::int64_t now);

std::string conversionAnswer(const std::string& ticker, const std::string& future,
                             const ConversionResult& result);

}  // namespace ostrel::mock

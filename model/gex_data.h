// GexData: the latest GEX profile the service sent, as the render pass reads it.
//
// Values are stored as the service sent them (no futures conversion). After a fill the three
// per-strike sequences have one element per strike, `priors` holds each strike's priors one
// strike after another (five per strike in a normal answer), and every maximum is at least
// 0.001. clear() empties everything but keeps the sequences' capacity, so answers of a steady
// size do not reallocate; `max_priors` releases its inner sequences.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host_string.h"

namespace ostrel {

struct GexData {
  std::int32_t timestamp = 0;
  HostString ticker;
  float spot = 0.0f;
  float zero_gamma = 0.0f;
  float major_pos_vol = 0.0f;
  float major_pos_oi = 0.0f;
  float major_neg_vol = 0.0f;
  float major_neg_oi = 0.0f;
  float sum_gex_vol = 0.0f;
  float sum_gex_oi = 0.0f;
  float delta_risk_reversal = 0.0f;
  std::vector<float> strike_prices;
  std::vector<float> gex_vol;
  std::vector<float> gex_oi;
  std::vector<float> priors;
  std::vector<std::vector<float>> max_priors;
  float max_abs_vol = 0.0f;
  float max_abs_oi = 0.0f;
  float max_abs_all = 0.0f;

  void clear() noexcept;
};

}  // namespace ostrel

#include "model/gex_data.h"

namespace ostrel {

void GexData::clear() noexcept {
  timestamp = 0;
  ticker.clear();
  spot = 0.0f;
  zero_gamma = 0.0f;
  major_pos_vol = 0.0f;
  major_pos_oi = 0.0f;
  major_neg_vol = 0.0f;
  major_neg_oi = 0.0f;
  sum_gex_vol = 0.0f;
  sum_gex_oi = 0.0f;
  delta_risk_reversal = 0.0f;
  strike_prices.clear();
  gex_vol.clear();
  gex_oi.clear();
  priors.clear();
  // The pairs' storage goes with them; only the outer sequence keeps its capacity.
  max_priors.clear();
  max_abs_vol = 0.0f;
  max_abs_oi = 0.0f;
  max_abs_all = 0.0f;
}

}  // namespace ostrel

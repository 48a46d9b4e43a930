#include "model/greek_data.h"

namespace ostrel {

void GreekData::clear() noexcept {
  timestamp = 0;
  ticker.clear();
  spot = 0.0f;
  major_positive = 0.0f;
  major_negative = 0.0f;
  major_long_gamma = 0.0f;
  major_short_gamma = 0.0f;
  strike_prices.clear();
  value1.clear();
  value2.clear();
  value3.clear();
  priors.clear();
  max_abs_value = 0.0f;
}

}  // namespace ostrel

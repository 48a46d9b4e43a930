#include "mock/black_scholes.h"

#include <cmath>

namespace ostrel::mock {

double normalPdf(double x) noexcept { return 0.3989422804014327 * std::exp(-0.5 * x * x); }

double normalCdf(double x) noexcept { return 0.5 * std::erfc(-x * 0.7071067811865476); }

namespace {
bool degenerate(double spot, double strike, double years, double vol) noexcept {
  return !(spot > 0.0) || !(strike > 0.0) || !(years > 0.0) || !(vol > 0.0);
}
double d1Of(double spot, double strike, double years, double vol) noexcept {
  return (std::log(spot / strike) + 0.5 * vol * vol * years) / (vol * std::sqrt(years));
}
}  // namespace

double bsGamma(double spot, double strike, double years, double vol) noexcept {
  if (degenerate(spot, strike, years, vol)) return 0.0;
  return normalPdf(d1Of(spot, strike, years, vol)) / (spot * vol * std::sqrt(years));
}

double bsCallDelta(double spot, double strike, double years, double vol) noexcept {
  if (degenerate(spot, strike, years, vol)) return spot > strike ? 1.0 : 0.0;
  return normalCdf(d1Of(spot, strike, years, vol));
}

double skewedVol(double atm_vol, double spot, double strike) noexcept {
  if (!(spot > 0.0) || !(strike > 0.0)) return atm_vol;
  const double m = std::log(strike / spot);
  const double vol = atm_vol * (1.0 - 2.2 * m + 18.0 * m * m);
  return vol < atm_vol / 3.0 ? atm_vol / 3.0 : vol;
}

}  // namespace ostrel::mock

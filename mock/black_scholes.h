// Black-Scholes sensitivities (no rates, no dividends) and the volatility skew of the mock chain.
//
// Edges: a time of zero or less, a volatility of zero or less, or a non-positive price gives
// gamma 0 and the intrinsic delta, so a chain at the close never divides by zero.
#pragma once

namespace ostrel::mock {

double normalPdf(double x) noexcept;
double normalCdf(double x) noexcept;

// Gamma per unit of the underlying, the same for calls and puts.
double bsGamma(double spot, double strike, double years, double vol) noexcept;
double bsCallDelta(double spot, double strike, double years, double vol) noexcept;
inline double bsPutDelta(double spot, double strike, double years, double vol) noexcept {
  return bsCallDelta(spot, strike, years, vol) - 1.0;
}

// Implied volatility at a strike: higher for low strikes (put skew), a little smile on both
// wings, never below a third of the at-the-money level.
double skewedVol(double atm_vol, double spot, double strike) noexcept;

}  // namespace ostrel::mock

// Gamma exposure and Greek profiles computed from a chain at one price and time.
//
// Sign convention: call exposure positive, put exposure negative, so a strike's net GEX is
// negative where puts dominate (usually below the price) and positive where calls do. GEX is in
// millions of dollars per 1% move: gamma x contracts x 100 x S^2 x 0.01 / 1e6. The zero-gamma
// level is where the chain's total GEX changes sign when the price is swept around the current
// one; 0 when the total keeps one sign over the whole sweep. A major level is the strike of the
// largest positive (or most negative) value; 0 when no value has that sign.
#pragma once

#include <vector>

#include "mock/chain_model.h"

namespace ostrel::mock {

struct GexProfile {
  double spot = 0.0;
  std::vector<double> strikes;
  std::vector<double> call_gex_vol, put_gex_vol, call_gex_oi, put_gex_oi;
  std::vector<double> gex_vol, gex_oi;  // call + put per strike
  double zero_gamma = 0.0;
  double major_pos_vol = 0.0, major_neg_vol = 0.0, major_pos_oi = 0.0, major_neg_oi = 0.0;
  double sum_gex_vol = 0.0, sum_gex_oi = 0.0;
  double delta_risk_reversal = 0.0;
};

struct GreekProfile {
  double spot = 0.0;
  std::vector<double> strikes;
  std::vector<double> value1, value2, value3;  // call side, put side, net (mini contracts)
  double major_positive = 0.0, major_negative = 0.0;
  double major_long_gamma = 0.0, major_short_gamma = 0.0;
};

// `with_oi` false leaves every open-interest figure at 0 (a package without OI data).
GexProfile computeGexProfile(const DayChain& chain, double spot, double years, double atm_vol,
                             const std::vector<double>& call_volume,
                             const std::vector<double>& put_volume, bool with_oi);

// Total GEX (OI and volume) of the chain if the price stood at `price`.
double totalGexAt(const DayChain& chain, double price, double years, double atm_vol,
                  const std::vector<double>& call_volume, const std::vector<double>& put_volume);

double findZeroGamma(const DayChain& chain, double spot, double years, double atm_vol,
                     const std::vector<double>& call_volume, const std::vector<double>& put_volume);

// `delta` chooses the delta profile; otherwise the gamma profile.
GreekProfile computeGreekProfile(const DayChain& chain, double spot, double years, double atm_vol,
                                 const std::vector<double>& call_volume,
                                 const std::vector<double>& put_volume, bool delta);

// Strike of the largest (positive) or smallest (negative) value; 0 when none has that sign.
double majorStrike(const std::vector<double>& strikes, const std::vector<double>& values,
                   bool positive) noexcept;

}  // namespace ostrel::mock

#include "mock/gex_compute.h"

#include <cmath>

#include "mock/black_scholes.h"

namespace ostrel::mock {

namespace {

constexpr double kContractMultiplier = 100.0;
constexpr double kMiniContractMultiplier = 50.0;

double dollarGamma(double gamma, double contracts, double spot) noexcept {
  return gamma * contracts * kContractMultiplier * spot * spot * 0.01 / 1e6;
}

}  // namespace

double majorStrike(const std::vector<double>& strikes, const std::vector<double>& values,
                   bool positive) noexcept {
  double best = 0.0, strike = 0.0;
  for (std::size_t i = 0; i < strikes.size() && i < values.size(); ++i) {
    const double v = values[i];
    if (positive ? v > best : v < best) {
      best = v;
      strike = strikes[i];
    }
  }
  return strike;
}

GexProfile computeGexProfile(const DayChain& chain, double spot, double years, double atm_vol,
                             const std::vector<double>& call_volume,
                             const std::vector<double>& put_volume, bool with_oi) {
  GexProfile p;
  p.spot = spot;
  p.strikes = chain.strikes();
  const std::size_t n = p.strikes.size();
  p.call_gex_vol.resize(n);
  p.put_gex_vol.resize(n);
  p.call_gex_oi.assign(n, 0.0);
  p.put_gex_oi.assign(n, 0.0);
  p.gex_vol.resize(n);
  p.gex_oi.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double k = p.strikes[i];
    const double gamma = bsGamma(spot, k, years, skewedVol(atm_vol, spot, k));
    p.call_gex_vol[i] = dollarGamma(gamma, call_volume[i], spot);
    p.put_gex_vol[i] = -dollarGamma(gamma, put_volume[i], spot);
    if (with_oi) {
      p.call_gex_oi[i] = dollarGamma(gamma, chain.callOi()[i], spot);
      p.put_gex_oi[i] = -dollarGamma(gamma, chain.putOi()[i], spot);
    }
    p.gex_vol[i] = p.call_gex_vol[i] + p.put_gex_vol[i];
    p.gex_oi[i] = p.call_gex_oi[i] + p.put_gex_oi[i];
    p.sum_gex_vol += p.gex_vol[i];
    p.sum_gex_oi += p.gex_oi[i];
  }
  p.major_pos_vol = majorStrike(p.strikes, p.gex_vol, true);
  p.major_neg_vol = majorStrike(p.strikes, p.gex_vol, false);
  p.major_pos_oi = majorStrike(p.strikes, p.gex_oi, true);
  p.major_neg_oi = majorStrike(p.strikes, p.gex_oi, false);
  p.zero_gamma = findZeroGamma(chain, spot, years, atm_vol, call_volume, put_volume);
  // 25-delta risk reversal stand-in: the skew between 5% out-of-the-money puts and calls.
  p.delta_risk_reversal =
      skewedVol(atm_vol, spot, spot * 0.95) - skewedVol(atm_vol, spot, spot * 1.05);
  return p;
}

double totalGexAt(const DayChain& chain, double price, double years, double atm_vol,
                  const std::vector<double>& call_volume, const std::vector<double>& put_volume) {
  double total = 0.0;
  const std::vector<double>& strikes = chain.strikes();
  for (std::size_t i = 0; i < strikes.size(); ++i) {
    const double k = strikes[i];
    const double gamma = bsGamma(price, k, years, skewedVol(atm_vol, price, k));
    const double net = chain.callOi()[i] + call_volume[i] - chain.putOi()[i] - put_volume[i];
    total += dollarGamma(gamma, net, price);
  }
  return total;
}

double findZeroGamma(const DayChain& chain, double spot, double years, double atm_vol,
                     const std::vector<double>& call_volume,
                     const std::vector<double>& put_volume) {
  // Sweep outward from the price and take the first sign change on either side.
  constexpr int kSteps = 40;
  const double span = 0.06 * spot;
  const double at_spot = totalGexAt(chain, spot, years, atm_vol, call_volume, put_volume);
  if (at_spot == 0.0) return spot;
  double lo = 0.0, hi = 0.0, f_lo = 0.0;
  bool found = false;
  double prev_up = spot, prev_down = spot, f_prev_up = at_spot, f_prev_down = at_spot;
  for (int i = 1; i <= kSteps && !found; ++i) {
    const double up = spot + span * i / kSteps;
    const double f_up = totalGexAt(chain, up, years, atm_vol, call_volume, put_volume);
    if ((f_up > 0.0) != (f_prev_up > 0.0)) {
      lo = prev_up, hi = up, f_lo = f_prev_up, found = true;
      break;
    }
    const double down = spot - span * i / kSteps;
    const double f_down = totalGexAt(chain, down, years, atm_vol, call_volume, put_volume);
    if ((f_down > 0.0) != (f_prev_down > 0.0)) {
      lo = down, hi = prev_down, f_lo = f_down, found = true;
      break;
    }
    prev_up = up, f_prev_up = f_up, prev_down = down, f_prev_down = f_down;
  }
  if (!found) return 0.0;
  for (int i = 0; i < 30; ++i) {
    const double mid = 0.5 * (lo + hi);
    const double f_mid = totalGexAt(chain, mid, years, atm_vol, call_volume, put_volume);
    if ((f_mid > 0.0) == (f_lo > 0.0)) {
      lo = mid, f_lo = f_mid;
    } else {
      hi = mid;
    }
  }
  return std::round(0.5 * (lo + hi) * 100.0) / 100.0;
}

GreekProfile computeGreekProfile(const DayChain& chain, double spot, double years, double atm_vol,
                                 const std::vector<double>& call_volume,
                                 const std::vector<double>& put_volume, bool delta) {
  GreekProfile p;
  p.spot = spot;
  p.strikes = chain.strikes();
  const std::size_t n = p.strikes.size();
  p.value1.resize(n);
  p.value2.resize(n);
  p.value3.resize(n);
  std::vector<double> net_gamma(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double k = p.strikes[i];
    const double vol = skewedVol(atm_vol, spot, k);
    const double calls = chain.callOi()[i] + call_volume[i];
    const double puts = chain.putOi()[i] + put_volume[i];
    const double gamma = bsGamma(spot, k, years, vol);
    // Mini contracts that hedge a 1% move of the underlying.
    const double gamma_minis = gamma * kContractMultiplier * spot * 0.01 / kMiniContractMultiplier;
    net_gamma[i] = gamma_minis * (calls - puts);
    if (delta) {
      const double call_delta = bsCallDelta(spot, k, years, vol);
      const double to_minis = kContractMultiplier / kMiniContractMultiplier;
      p.value1[i] = std::round(call_delta * calls * to_minis);
      p.value2[i] = std::round((call_delta - 1.0) * puts * to_minis);
    } else {
      p.value1[i] = std::round(gamma_minis * calls);
      p.value2[i] = -std::round(gamma_minis * puts);
    }
    p.value3[i] = p.value1[i] + p.value2[i];
  }
  p.major_positive = majorStrike(p.strikes, p.value3, true);
  p.major_negative = majorStrike(p.strikes, p.value3, false);
  p.major_long_gamma = majorStrike(p.strikes, net_gamma, true);
  p.major_short_gamma = majorStrike(p.strikes, net_gamma, false);
  return p;
}

}  // namespace ostrel::mock

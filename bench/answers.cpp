#include "bench/answers.h"

#include <cstdio>

namespace ostrel::bench {
namespace {

constexpr double kSpot = 5492.25;

// A small linear congruential generator: enough spread for the numbers, same text every run.
class Numbers {
 public:
  explicit Numbers(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  // Uniform in [-1, 1).
  double next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  std::uint32_t state_;
};

void appendf(std::string& out, const char* format, double a) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, a);
  if (n > 0) out.append(buffer, static_cast<std::size_t>(n < 64 ? n : 63));
}

double firstStrike(int strikes) { return 5490.0 - 5.0 * (strikes / 2); }

// GEX falls off away from the spot, as a real profile does.
double weight(double strike) {
  const double d = (strike - kSpot) / 150.0;
  return 1.0 / (1.0 + d * d);
}

}  // namespace

std::string makeGexAnswer(int strikes, std::uint32_t seed) {
  Numbers rng(seed);
  std::string out;
  out.reserve(static_cast<std::size_t>(strikes) * 110 + 512);
  out +=
      "{\"timestamp\": 1776173342, \"ticker\": \"SPX\", \"spot\": 5492.25, "
      "\"zero_gamma\": 5480.5, \"major_pos_vol\": 5510, \"major_pos_oi\": 5525, "
      "\"major_neg_vol\": 5450, \"major_neg_oi\": 5400, \"sum_gex_vol\": 1843.7512, "
      "\"sum_gex_oi\": -512.5033, \"delta_risk_reversal\": 0.0841, \"strikes\": [";
  const double first = firstStrike(strikes);
  for (int k = 0; k < strikes; ++k) {
    const double strike = first + 5.0 * k;
    const double w = weight(strike);
    if (k > 0) out += ", ";
    appendf(out, "[%.0f, ", strike);
    const double vol = 420.0 * w * rng.next();
    appendf(out, "%.4f, ", vol);
    appendf(out, "%.4f, [", 310.0 * w * rng.next());
    for (int p = 0; p < 5; ++p) {
      appendf(out, p == 0 ? "%.4f" : ", %.4f", vol * (1.0 - 0.05 * p) + 8.0 * w * rng.next());
    }
    out += "]]";
  }
  out += "], \"max_priors\": [";
  for (int p = 0; p < 5; ++p) {
    appendf(out, p == 0 ? "[%.0f, " : ", [%.0f, ", 5450.0 + 10.0 * p);
    appendf(out, "%.4f]", 160.0 * rng.next());
  }
  out += "]}";
  return out;
}

std::string makeGreekAnswer(int strikes, std::uint32_t seed) {
  Numbers rng(seed);
  std::string out;
  out.reserve(static_cast<std::size_t>(strikes) * 100 + 256);
  out +=
      "{\"timestamp\": 1776173342, \"ticker\": \"SPX\", \"spot\": 5492.25, "
      "\"major_positive\": 5510, \"major_negative\": 5450, \"major_long_gamma\": 5500, "
      "\"major_short_gamma\": 5400, \"mini_contracts\": [";
  const double first = firstStrike(strikes);
  for (int k = 0; k < strikes; ++k) {
    const double strike = first + 5.0 * k;
    const double w = weight(strike);
    if (k > 0) out += ", ";
    appendf(out, "[%.0f, ", strike);
    appendf(out, "%.4f, ", 900.0 * w * rng.next());
    appendf(out, "%.4f, ", 700.0 * w * rng.next());
    const double value = 250.0 * w * rng.next();
    appendf(out, "%.4f, [", value);
    for (int p = 0; p < 3; ++p) {
      appendf(out, p == 0 ? "%.4f" : ", %.4f", value * (1.0 - 0.1 * p) + 6.0 * w * rng.next());
    }
    out += "]]";
  }
  out += "]}";
  return out;
}

std::string makeHistoryAnswer(int points, std::int64_t first_unix_second, std::int64_t step_seconds,
                              std::uint32_t seed) {
  Numbers rng(seed);
  std::string out;
  out.reserve(static_cast<std::size_t>(points) * 110 + 16);
  out += "[";
  for (int i = 0; i < points; ++i) {
    if (i > 0) out += ", ";
    appendf(out, "{\"timestamp\": %.0f, ",
            static_cast<double>(first_unix_second + step_seconds * i));
    appendf(out, "\"major_call_gamma\": %.2f, ", 5510.0 + 5.0 * rng.next());
    appendf(out, "\"major_put_gamma\": %.2f, ", 5450.0 + 5.0 * rng.next());
    appendf(out, "\"zero_gamma\": %.2f}", 5480.5 + 3.0 * rng.next());
  }
  out += "]";
  return out;
}

}  // namespace ostrel::bench

// Conversions that stay defined for any value that can arrive from the network or the host.
//
// Narrowing a double beyond the float range, or a float/double beyond the int range, is
// undefined behaviour in C++; these helpers give the IEEE result for floats (overflow becomes
// an infinity) and saturate for integers (NaN becomes 0).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace ostrel {

// The nearest float, as an IEEE conversion would give it: beyond the largest float's rounding
// midpoint the result is an infinity of the same sign; NaN stays NaN.
inline float toFloat(double value) noexcept {
  // 2^128 - 2^103: doubles at or above this magnitude round to infinity.
  constexpr double kOverflow = 340282356779733661637539395458142568448.0;
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value >= kOverflow) return std::numeric_limits<float>::infinity();
  if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// Truncation toward zero, saturating at the int32 range; NaN gives 0.
inline std::int32_t truncToInt32(double value) noexcept {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// Rounding half away from zero, saturating at the int32 range; NaN gives 0.
inline std::int32_t roundToInt32(double value) noexcept {
  if (std::isnan(value)) return 0;
  return truncToInt32(std::round(value));
}

// Truncation toward zero, saturating at the int64 range; NaN gives 0.
inline std::int64_t truncToInt64(double value) noexcept {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; anything at or above it saturates.
  if (value >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
  if (value <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

// Rounding half away from zero to int64, saturating; NaN gives 0.
inline std::int64_t roundToInt64(double value) noexcept {
  if (std::isnan(value)) return 0;
  return truncToInt64(std::round(value));
}

}  // namespace ostrel

// Window units: horizontal positions of bars and markers, 1/150 of the chart window's width
// (0 is the left edge, 150 the right edge), carried in a drawing's time fields as whole days of
// the date-time representation.
//
// Every length is capped at 150 units before it becomes an integer: no origin lies outside
// 0..150, so a longer extent would be clamped to the same window edge anyway, and the cap keeps
// infinite and huge scaled values out of the integer conversions. NaN gives length 0.
#pragma once

#include <cmath>
#include <cstdint>

namespace ostrel {

constexpr std::int32_t kWindowUnits = 150;
constexpr std::int64_t kMicrosPerUnit = 86400000000LL;

// originPercent (0..100) of the window width, rounded half away from zero: 75 gives 113.
inline std::int32_t originUnit(std::int32_t originPercent) noexcept {
  const float origin = static_cast<float>(originPercent) / 100.0f * 150.0f;
  return static_cast<std::int32_t>(std::round(origin));
}

// |g| truncated toward zero, capped at the window width; NaN gives 0.
inline std::int32_t wholeUnits(float g) noexcept {
  const float magnitude = std::fabs(g);
  if (!(magnitude < static_cast<float>(kWindowUnits))) {
    return std::isnan(magnitude) ? 0 : kWindowUnits;
  }
  return static_cast<std::int32_t>(magnitude);
}

constexpr std::int64_t unitsToTime(std::int32_t units) noexcept {
  return static_cast<std::int64_t>(units) * kMicrosPerUnit;
}

}  // namespace ostrel

#include "render/scaled_length.h"

#include <cmath>

#include "render/window_units.h"

namespace ostrel {

namespace {

constexpr float kTinyMaximum = 1e-9f;
constexpr float kTinyLogRange = 1e-6f;
constexpr float kTinyValue = 1e-6f;

}  // namespace

std::int32_t barLength(float value, const ProfileLayout& layout, bool logarithmic) noexcept {
  float g = 0.0f;
  if (logarithmic) {
    const float m = layout.maxValue;
    float t = 0.0f;
    if (m > kTinyMaximum) {
      t = layout.scale * m;
    } else if (m < kTinyMaximum) {
      return 0;
    }
    const float a = std::log10(std::fabs(value) + 1.0f);
    const float b = std::log10(1.0f + m);
    if (b < kTinyLogRange) return 0;
    g = a / b * t;
  } else {
    g = layout.scale * value;
  }
  std::int32_t length = wholeUnits(g);
  if (length == 0 && std::fabs(value) > kTinyValue && std::fabs(g) > kTinyValue) length = 1;
  return length;
}

std::int32_t markerLength(float value, const ProfileLayout& layout, bool logarithmic) noexcept {
  const float m = layout.maxValue;
  if (!logarithmic) return wholeUnits(layout.scale * value);
  if (!(m > kTinyMaximum)) return 0;
  const float a = std::log10(std::fabs(value) + 1.0f);
  const float b = std::log10(m + 1.0f);
  if (b < kTinyLogRange) return 0;
  return wholeUnits(a / b * (layout.scale * m));
}

}  // namespace ostrel

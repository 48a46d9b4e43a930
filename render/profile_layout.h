// ProfileLayout: the geometry shared by every bar and marker of one bar pass.
//
// readProfileLayout reads the layout inputs once per render pass; `scale` and `maxValue` are
// left 0 until setLayoutMaximum names the pass's maximum M. The span W (the length of a value
// equal to M) is 150p - p window units with p the "Bar Scale Factor" percentage clamped to
// 1..100 over 100, computed in single precision in that order. M may be 0, tiny, infinite or
// NaN (a hostile answer): scale then becomes infinite or NaN, and the length rules keep every
// position inside the window (render/scaled_length.h).
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

struct ProfileLayout {
  float halfHeight = 0.0f;         // price units: bar width input x tick
  std::int32_t width = 0;          // bar width input, the line width of bars
  float scale = 0.0f;              // window units per value unit: W / M
  std::int32_t direction = 2;      // 0 Right, 1 Left, other Center
  std::int32_t originPercent = 0;  // 0..100
  std::int32_t dotStyle = 0;       // 0 Point, 1 Diamond, 2 Square
  float dotSize = 0.0f;
  float maxValue = 0.0f;  // M
};

enum ProfileDirection : std::int32_t { kDirectionRight = 0, kDirectionLeft = 1 };

ProfileLayout readProfileLayout(StudyHost& host);

// W for a "Bar Scale Factor (Window Width %)" value (clamped to 1..100 here).
float barSpanUnits(std::int32_t scalePercent) noexcept;

inline void setLayoutMaximum(ProfileLayout& layout, float span, float maximum) noexcept {
  layout.scale = span / maximum;
  layout.maxValue = maximum;
}

}  // namespace ostrel

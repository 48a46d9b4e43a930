// BarStyle: colours and "Line;Dot;Dash;Bar" styles of one bar pass, by sign of the value
// (positive: 0 or more), and the fill transparency of the "Bar" style.
#pragma once

#include <cstdint>

namespace ostrel {

enum BarLineStyle : std::int32_t {
  kBarStyleLine = 0,
  kBarStyleDot = 1,
  kBarStyleDash = 2,
  kBarStyleBar = 3,
};

struct BarStyle {
  std::uint32_t positiveColour = 0;
  std::uint32_t negativeColour = 0;
  std::int32_t positiveLineStyle = kBarStyleBar;
  std::int32_t negativeLineStyle = kBarStyleBar;
  std::int32_t transparency = 0;
};

}  // namespace ostrel

// PriorDots: a pass's prior-dot settings, one display flag and one colour per prior interval
// in interval order (five for GEX, three for gamma and delta). A flag of 0 places the marker
// hidden. Fixed capacity so that building the settings never allocates.
#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

struct PriorDots {
  static constexpr std::int32_t kCapacity = 5;
  std::array<std::int32_t, kCapacity> shown{};
  std::array<std::uint32_t, kCapacity> colours{};
  std::int32_t count = 0;
};

}  // namespace ostrel

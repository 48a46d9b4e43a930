// Subgraph: one per-bar output series of the host (a published value per chart bar, and a
// per-bar colour for the series that use one).
//
// The host owns the arrays. Access by bar index clamps into 0 .. size-1, as the host's own
// arrays do, so an index from a stale bar count can never write outside them; an array that the
// host did not provide (null or size 0) reads 0 and swallows writes into a scratch cell.
#pragma once

#include <cstdint>

#include "host/host_string.h"

namespace ostrel {

struct Subgraph {
  HostString name;
  std::uint32_t primary_colour = 0;
  std::int32_t draw_style = 0;
  std::int32_t line_width = 0;
  std::int32_t third_style = 0;
  float* values = nullptr;  // host-owned, `value_count` floats
  std::int32_t value_count = 0;
  std::uint32_t* colours = nullptr;  // host-owned, `colour_count` colours; may be absent
  std::int32_t colour_count = 0;
  float scratch_value = 0.0f;
  std::uint32_t scratch_colour = 0;

  float& value(std::int32_t bar) noexcept {
    if (values == nullptr || value_count <= 0) {
      scratch_value = 0.0f;
      return scratch_value;
    }
    return values[clamp(bar, value_count)];
  }
  std::uint32_t& colour(std::int32_t bar) noexcept {
    if (colours == nullptr || colour_count <= 0) {
      scratch_colour = 0;
      return scratch_colour;
    }
    return colours[clamp(bar, colour_count)];
  }

 private:
  static std::int32_t clamp(std::int32_t index, std::int32_t count) noexcept {
    if (index < 0) return 0;
    if (index >= count) return count - 1;
    return index;
  }
};

}  // namespace ostrel

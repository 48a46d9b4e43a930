// The host's colour encoding: red + 256 x green + 65536 x blue (0x00BBGGRR), defined once for
// the input and subgraph tables.
#pragma once

#include <cstdint>

namespace ostrel {

constexpr std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red + 256u * green + 65536u * blue;
}

}  // namespace ostrel

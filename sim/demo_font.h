// A 5x7 pixel font for ASCII 32..126, so the raster chart can carry text without a font file.
// Each glyph is five column bytes, bit 0 the top row. Other characters draw as '?'.
#pragma once

#include <cstdint>

namespace ostrel::sim {

const std::uint8_t* glyph5x7(char c) noexcept;

}  // namespace ostrel::sim

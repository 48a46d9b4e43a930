// Canvas: the few drawing primitives the demo chart needs, with two backends (SVG text and an
// RGB raster written as PNG), so both pictures come from one drawing routine.
//
// Coordinates are pixels, origin top-left. Colours are host colours (red + 256 green + 65536
// blue); alpha is 0 (invisible) to 1 (opaque). Text is drawn with its baseline-free top-left at
// (x, y) for kLeft, ending at x for kRight; `size` is the text height in pixels.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel::sim {

enum class TextAlign { kLeft, kRight, kCentre };

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void fillRect(double x0, double y0, double x1, double y1, std::uint32_t colour,
                        double alpha) = 0;
  // dash: 0 solid, 1 dashed, 2 dotted.
  virtual void line(double x0, double y0, double x1, double y1, std::uint32_t colour, double width,
                    int dash = 0, double alpha = 1.0) = 0;
  // shape: 0 point (disc), 1 diamond, 2 square; `radius` in pixels.
  virtual void marker(double x, double y, double radius, int shape, std::uint32_t colour) = 0;
  virtual void text(double x, double y, const std::string& text, double size, std::uint32_t colour,
                    TextAlign align = TextAlign::kLeft) = 0;
  // Width in pixels that text() takes for this string and size.
  static double textWidth(const std::string& text, double size) {
    return static_cast<double>(text.size()) * size * 6.0 / 8.0;
  }
};

constexpr std::uint32_t hostColour(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
         (static_cast<std::uint32_t>(b) << 16);
}
inline int colourRed(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
inline int colourGreen(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int colourBlue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace ostrel::sim

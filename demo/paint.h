// The few cairo operations the demo chart is made of, in the chart's own terms: host colours
// (red + 256 green + 65536 blue), lines snapped to the pixel grid so one-pixel lines stay crisp,
// and text in DejaVu Sans placed by its box (top-left, right or centre) rather than its
// baseline. Everything is drawn anti-aliased; one routine serves the PNG and the SVG surface.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace ostrel::demo {

constexpr std::uint32_t hostColour(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
         (static_cast<std::uint32_t>(b) << 16);
}

enum class Align { kLeft, kRight, kCentre };
enum class Dash { kSolid, kDashed, kDotted };

void setColour(cairo_t* cr, std::uint32_t colour, double alpha = 1.0);
void fillRect(cairo_t* cr, double x0, double y0, double x1, double y1, std::uint32_t colour,
              double alpha = 1.0);
void fillRoundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double radius,
                     std::uint32_t colour, double alpha = 1.0);
// A line of `width` pixels; horizontal and vertical ones are snapped to the pixel grid.
void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, std::uint32_t colour,
                double width, Dash dash = Dash::kSolid, double alpha = 1.0);
// shape: 0 disc, 1 diamond, 2 square, centred on (x, y).
void marker(cairo_t* cr, double x, double y, double radius, int shape, std::uint32_t colour,
            double alpha = 1.0);

struct Font {
  double size = 12.0;
  bool bold = false;
};
double textWidth(cairo_t* cr, const std::string& text, Font font);
// Text whose box (cap height centred on `middle`) is placed by `align` at x.
void text(cairo_t* cr, double x, double middle, const std::string& text, Font font,
          std::uint32_t colour, Align align = Align::kLeft);

}  // namespace ostrel::demo

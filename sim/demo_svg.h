// SvgCanvas: the demo chart as an SVG document.
#pragma once

#include <string>

#include "sim/demo_canvas.h"

namespace ostrel::sim {

class SvgCanvas final : public Canvas {
 public:
  SvgCanvas(int width, int height, std::uint32_t background);

  void fillRect(double x0, double y0, double x1, double y1, std::uint32_t colour,
                double alpha) override;
  void line(double x0, double y0, double x1, double y1, std::uint32_t colour, double width,
            int dash, double alpha) override;
  void marker(double x, double y, double radius, int shape, std::uint32_t colour) override;
  void text(double x, double y, const std::string& text, double size, std::uint32_t colour,
            TextAlign align) override;

  // The finished document.
  std::string document() const { return body_ + "</svg>\n"; }

 private:
  std::string body_;
};

}  // namespace ostrel::sim

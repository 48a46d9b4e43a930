// RasterCanvas: the demo chart drawn into an RGB buffer (no anti-aliasing), and its PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/demo_canvas.h"

namespace ostrel::sim {

class RasterCanvas final : public Canvas {
 public:
  RasterCanvas(int width, int height, std::uint32_t background);

  void fillRect(double x0, double y0, double x1, double y1, std::uint32_t colour,
                double alpha) override;
  void line(double x0, double y0, double x1, double y1, std::uint32_t colour, double width,
            int dash, double alpha) override;
  void marker(double x, double y, double radius, int shape, std::uint32_t colour) override;
  void text(double x, double y, const std::string& text, double size, std::uint32_t colour,
            TextAlign align) override;

  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }
  const std::vector<std::uint8_t>& pixels() const noexcept { return rgb_; }
  // Writes an 8-bit RGB PNG; false with a reason when the file cannot be written.
  bool writePng(const std::string& path, std::string& error) const;

 private:
  void blend(int x, int y, std::uint32_t colour, double alpha);
  void block(int x0, int y0, int x1, int y1, std::uint32_t colour, double alpha);

  int width_;
  int height_;
  std::vector<std::uint8_t> rgb_;
};

}  // namespace ostrel::sim

#include "sim/demo_raster.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/demo_font.h"

namespace ostrel::sim {

RasterCanvas::RasterCanvas(int width, int height, std::uint32_t background)
    : width_(width),
      height_(height),
      rgb_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
  block(0, 0, width, height, background, 1.0);
}

void RasterCanvas::blend(int x, int y, std::uint32_t colour, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || !(alpha > 0.0)) return;
  if (alpha > 1.0) alpha = 1.0;
  std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                           static_cast<std::size_t>(x)) *
                          3];
  const int src[3] = {colourRed(colour), colourGreen(colour), colourBlue(colour)};
  for (int i = 0; i < 3; ++i) {
    p[i] = static_cast<std::uint8_t>(std::lround(p[i] * (1.0 - alpha) + src[i] * alpha));
  }
}

void RasterCanvas::block(int x0, int y0, int x1, int y1, std::uint32_t colour, double alpha) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) blend(x, y, colour, alpha);
  }
}

void RasterCanvas::fillRect(double x0, double y0, double x1, double y1, std::uint32_t colour,
                            double alpha) {
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  block(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)),
        static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)), colour, alpha);
}

void RasterCanvas::line(double x0, double y0, double x1, double y1, std::uint32_t colour,
                        double width, int dash, double alpha) {
  const double length = std::hypot(x1 - x0, y1 - y0);
  const int thick = std::max(1, static_cast<int>(std::lround(width)));
  const int half = (thick - 1) / 2;
  const double on = dash == 1 ? 8.0 : dash == 2 ? 2.0 : 0.0;
  const double period = dash == 1 ? 13.0 : dash == 2 ? 5.0 : 0.0;
  const int steps = std::max(1, static_cast<int>(std::ceil(length)));
  int last_x = -(1 << 30), last_y = -(1 << 30);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    if (period > 0.0 && std::fmod(t * length, period) >= on) continue;
    const int x = static_cast<int>(std::lround(x0 + (x1 - x0) * t));
    const int y = static_cast<int>(std::lround(y0 + (y1 - y0) * t));
    if (x == last_x && y == last_y) continue;
    last_x = x;
    last_y = y;
    // Square brush; repeated cells on a diagonal darken a translucent line slightly.
    block(x - half, y - half, x - half + thick, y - half + thick, colour, alpha);
  }
}

void RasterCanvas::marker(double x, double y, double radius, int shape, std::uint32_t colour) {
  const int r = std::max(1, static_cast<int>(std::lround(radius)));
  const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
  for (int dy = -r; dy <= r; ++dy) {
    for (int dx = -r; dx <= r; ++dx) {
      bool inside = false;
      if (shape == 1)
        inside = std::abs(dx) + std::abs(dy) <= r;
      else if (shape == 2)
        inside = true;
      else
        inside = dx * dx + dy * dy <= r * r;
      if (inside) blend(cx + dx, cy + dy, colour, 1.0);
    }
  }
}

void RasterCanvas::text(double x, double y, const std::string& text, double size,
                        std::uint32_t colour, TextAlign align) {
  const int scale = std::max(1, static_cast<int>(std::lround(size / 8.0)));
  const double w = static_cast<double>(text.size()) * 6.0 * scale;
  if (align == TextAlign::kRight) x -= w;
  if (align == TextAlign::kCentre) x -= w / 2.0;
  int px = static_cast<int>(std::lround(x));
  const int py = static_cast<int>(std::lround(y));
  for (char c : text) {
    const std::uint8_t* g = glyph5x7(c);
    for (int col = 0; col < 5; ++col) {
      for (int row = 0; row < 7; ++row) {
        if ((g[col] >> row) & 1) {
          block(px + col * scale, py + row * scale, px + (col + 1) * scale, py + (row + 1) * scale,
                colour, 1.0);
        }
      }
    }
    px += 6 * scale;
  }
}

bool RasterCanvas::writePng(const std::string& path, std::string& error) const {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot open " + path;
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    error = "libpng could not start";
    return false;
  }
  // libpng reports errors by longjmp; nothing below owns C++ objects that need unwinding.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    error = "libpng failed writing " + path;
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width_), static_cast<png_uint_32>(height_), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height_; ++y) {
    png_write_row(png, &rgb_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  const bool closed = std::fclose(file) == 0;
  if (!closed) error = "cannot finish " + path;
  return closed;
}

}  // namespace ostrel::sim

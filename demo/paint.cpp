#include "demo/paint.h"

#include <cmath>

#include "jsonout/utf8_repair.h"

namespace ostrel::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Where a line of this width must lie so that it covers whole pixels.
double snap(double v, double width) {
  const bool odd = static_cast<long>(std::lround(width)) % 2 == 1;
  return odd ? std::floor(v) + 0.5 : std::round(v);
}

void useFont(cairo_t* cr, Font font) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.size);
}

}  // namespace

void setColour(cairo_t* cr, std::uint32_t colour, double alpha) {
  cairo_set_source_rgba(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                        ((colour >> 16) & 0xFF) / 255.0, alpha);
}

void fillRect(cairo_t* cr, double x0, double y0, double x1, double y1, std::uint32_t colour,
              double alpha) {
  setColour(cr, colour, alpha);
  cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
  cairo_fill(cr);
}

void fillRoundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double radius,
                     std::uint32_t colour, double alpha) {
  const double r = std::fmin(radius, std::fmin(x1 - x0, y1 - y0) / 2.0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x1 - r, y0 + r, r, -kPi / 2.0, 0.0);
  cairo_arc(cr, x1 - r, y1 - r, r, 0.0, kPi / 2.0);
  cairo_arc(cr, x0 + r, y1 - r, r, kPi / 2.0, kPi);
  cairo_arc(cr, x0 + r, y0 + r, r, kPi, 1.5 * kPi);
  cairo_close_path(cr);
  setColour(cr, colour, alpha);
  cairo_fill(cr);
}

void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, std::uint32_t colour,
                double width, Dash dash, double alpha) {
  if (y0 == y1) y0 = y1 = snap(y0, width);
  if (x0 == x1) x0 = x1 = snap(x0, width);
  const double dashed[] = {6.0, 4.0};
  const double dotted[] = {1.5, 3.0};
  if (dash == Dash::kDashed) cairo_set_dash(cr, dashed, 2, 0.0);
  if (dash == Dash::kDotted) cairo_set_dash(cr, dotted, 2, 0.0);
  cairo_set_line_cap(cr, dash == Dash::kDotted ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
  cairo_set_line_width(cr, width);
  setColour(cr, colour, alpha);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0.0);
}

void marker(cairo_t* cr, double x, double y, double radius, int shape, std::uint32_t colour,
            double alpha) {
  if (shape == 1) {
    cairo_move_to(cr, x, y - radius);
    cairo_line_to(cr, x + radius, y);
    cairo_line_to(cr, x, y + radius);
    cairo_line_to(cr, x - radius, y);
    cairo_close_path(cr);
  } else if (shape == 2) {
    cairo_rectangle(cr, x - radius * 0.8, y - radius * 0.8, radius * 1.6, radius * 1.6);
  } else {
    cairo_arc(cr, x, y, radius, 0.0, 2.0 * kPi);
  }
  setColour(cr, colour, alpha);
  cairo_fill(cr);
}

double textWidth(cairo_t* cr, const std::string& s, Font font) {
  useFont(cr, font);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, s.c_str(), &extents);
  return extents.x_advance;
}

void text(cairo_t* cr, double x, double middle, const std::string& raw, Font font,
          std::uint32_t colour, Align align) {
  // cairo refuses text that is not UTF-8 (and then draws nothing more on this context).
  const std::string s = isValidUtf8(raw.data(), raw.size()) ? raw : repairedUtf8(raw);
  useFont(cr, font);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, s.c_str(), &extents);
  double left = x;
  if (align == Align::kRight) left = x - extents.x_advance;
  if (align == Align::kCentre) left = x - extents.x_advance / 2.0;
  // DejaVu's cap height is about 0.73 em: the baseline that centres capitals on `middle`.
  const double baseline = middle + 0.365 * font.size;
  setColour(cr, colour);
  cairo_move_to(cr, left, baseline);
  cairo_show_text(cr, s.c_str());
  cairo_new_path(cr);
}

}  // namespace ostrel::demo

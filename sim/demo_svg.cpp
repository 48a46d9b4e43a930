#include "sim/demo_svg.h"

#include <algorithm>
#include <cstdio>

namespace ostrel::sim {

namespace {

std::string css(std::uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colourRed(c), colourGreen(c), colourBlue(c));
  return text;
}

std::string num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

std::string escaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else if (static_cast<unsigned char>(c) >= 32)
      out += c;
  }
  return out;
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height, std::uint32_t background) {
  body_ =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "width=\"" +
      std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
      std::to_string(width) + " " + std::to_string(height) + "\">\n";
  fillRect(0, 0, width, height, background, 1.0);
}

void SvgCanvas::fillRect(double x0, double y0, double x1, double y1, std::uint32_t colour,
                         double alpha) {
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  body_ += "<rect x=\"" + num(x0) + "\" y=\"" + num(y0) + "\" width=\"" + num(x1 - x0) +
           "\" height=\"" + num(y1 - y0) + "\" fill=\"" + css(colour) + "\"";
  if (alpha < 1.0) {
    char a[16];
    std::snprintf(a, sizeof a, "%.2f", alpha);
    body_ += std::string(" fill-opacity=\"") + a + "\"";
  }
  body_ += "/>\n";
}

void SvgCanvas::line(double x0, double y0, double x1, double y1, std::uint32_t colour, double width,
                     int dash, double alpha) {
  body_ += "<line x1=\"" + num(x0) + "\" y1=\"" + num(y0) + "\" x2=\"" + num(x1) + "\" y2=\"" +
           num(y1) + "\" stroke=\"" + css(colour) + "\" stroke-width=\"" + num(width) + "\"";
  if (dash == 1) body_ += " stroke-dasharray=\"8 5\"";
  if (dash == 2) body_ += " stroke-dasharray=\"2 3\"";
  if (alpha < 1.0) {
    char a[16];
    std::snprintf(a, sizeof a, "%.2f", alpha);
    body_ += std::string(" stroke-opacity=\"") + a + "\"";
  }
  body_ += "/>\n";
}

void SvgCanvas::marker(double x, double y, double r, int shape, std::uint32_t colour) {
  if (shape == 1) {
    body_ += "<polygon points=\"" + num(x) + "," + num(y - r) + " " + num(x + r) + "," + num(y) +
             " " + num(x) + "," + num(y + r) + " " + num(x - r) + "," + num(y) + "\" fill=\"" +
             css(colour) + "\"/>\n";
  } else if (shape == 2) {
    fillRect(x - r, y - r, x + r, y + r, colour, 1.0);
  } else {
    body_ += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" + num(r) + "\" fill=\"" +
             css(colour) + "\"/>\n";
  }
}

void SvgCanvas::text(double x, double y, const std::string& text, double size, std::uint32_t colour,
                     TextAlign align) {
  const char* anchor = align == TextAlign::kRight    ? "end"
                       : align == TextAlign::kCentre ? "middle"
                                                     : "start";
  body_ += "<text x=\"" + num(x) + "\" y=\"" + num(y + size * 0.85) +
           "\" font-family=\"monospace\" "
           "font-size=\"" +
           num(size * 1.2) + "\" fill=\"" + css(colour) + "\" text-anchor=\"" + anchor + "\">" +
           escaped(text) + "</text>\n";
}

}  // namespace ostrel::sim

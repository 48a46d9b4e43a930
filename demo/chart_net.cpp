// The net GEX panel under the prices: subgraphs 7 and 8 around a zero line, with its scale.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "demo/chart_layout.h"

namespace ostrel::demo {
namespace {

// Exposure figures run to billions: "1.25B", "-340M", "12.5K", "0".
std::string compactText(double v) {
  const double a = std::fabs(v);
  const char* unit = "";
  double scaled = v;
  if (a >= 1e9) {
    unit = "B";
    scaled = v / 1e9;
  } else if (a >= 1e6) {
    unit = "M";
    scaled = v / 1e6;
  } else if (a >= 1e3) {
    unit = "K";
    scaled = v / 1e3;
  }
  char text[32];
  std::snprintf(text, sizeof text, std::fabs(scaled) >= 100.0 ? "%.0f%s" : "%.3g%s", scaled, unit);
  return text;
}

}  // namespace

void drawNetPanel(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  double peak = 1e-9;
  for (int g = 7; g <= 8; ++g) {
    for (float v : d.values[static_cast<std::size_t>(g)]) {
      peak = std::max(peak, std::fabs(static_cast<double>(v)));
    }
  }
  const double mid = 0.5 * (s.f.net_top + s.f.net_bottom);
  const double half = 0.42 * (s.f.net_bottom - s.f.net_top);
  strokeLine(cr, s.f.left, mid, s.f.right, mid, kAxis, 1.0, Dash::kDashed);
  strokeLine(cr, s.f.right, s.f.net_top, s.f.right, s.f.net_bottom, kAxis, 1.0);
  const std::uint32_t colours[2] = {d.primary[7], hostColour(120, 200, 255)};
  for (int g = 7; g <= 8; ++g) {
    const std::vector<float>& v = d.values[static_cast<std::size_t>(g)];
    bool open = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (v[i] == 0.0f) {
        open = false;
        continue;
      }
      const double x = s.barX(static_cast<double>(i) + 0.5), y = mid - v[i] / peak * half;
      if (open) {
        cairo_line_to(cr, x, y);
      } else {
        cairo_move_to(cr, x, y);
        open = true;
      }
    }
    const double dashed[] = {6.0, 4.0};
    if (g == 8) cairo_set_dash(cr, dashed, 2, 0.0);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, colours[g - 7]);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
  }
  text(cr, s.f.left + 8.0, s.f.net_top + 12.0, "Net GEX (subgraphs 7, 8)", Font{12.0, true},
       kAxisText);
  const double labels[3][2] = {{peak, mid - half}, {0.0, mid}, {-peak, mid + half}};
  for (const auto& label : labels) {
    strokeLine(cr, s.f.right, label[1], s.f.right + 4.0, label[1], kAxis, 1.0);
    text(cr, s.f.right + 8.0, label[1], compactText(label[0]), kAxisFont, kAxisText);
  }
}

}  // namespace ostrel::demo

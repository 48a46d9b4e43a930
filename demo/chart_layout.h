// Geometry shared by the parts of the demo chart: the panels' rectangles and the mapping of
// prices, bars and window units to pixels.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "demo/chart.h"

namespace ostrel::demo {

struct Frame {
  double left = 0.0, right = 0.0;          // price and net panels (the price axis is right of it)
  double top = 0.0, bottom = 0.0;          // price panel
  double net_top = 0.0, net_bottom = 0.0;  // net GEX panel
  double legend_top = 0.0;
};

struct PriceScale {
  Frame f;
  double lo = 0.0, hi = 1.0;
  int bars = 1;
  double y(double price) const { return f.bottom - (price - lo) / (hi - lo) * (f.bottom - f.top); }
  double barX(double bar) const { return f.left + bar * (f.right - f.left) / bars; }
  double unitX(double units) const { return f.left + units / 150.0 * (f.right - f.left); }
  bool inside(double price) const { return price >= lo && price <= hi; }
};

// Palette.
constexpr std::uint32_t kPanel = hostColour(23, 28, 38);
constexpr std::uint32_t kGrid = hostColour(38, 45, 58);
constexpr std::uint32_t kAxis = hostColour(72, 82, 98);
constexpr std::uint32_t kAxisText = hostColour(160, 168, 182);
constexpr std::uint32_t kTitleText = hostColour(236, 239, 244);
constexpr std::uint32_t kUp = hostColour(38, 166, 154);
constexpr std::uint32_t kDown = hostColour(239, 83, 80);

constexpr Font kAxisFont{12.0, false};
constexpr Font kTagFont{12.0, true};

std::string priceText(double value);

// Round prices for the grid and the axis, about every 50 pixels.
std::vector<double> priceTicks(const PriceScale& s);
void drawPriceGrid(cairo_t* cr, const PriceScale& s);

// The legend's rows from `top` down, inside [left, right]; returns the y below the last row.
double legendHeight(cairo_t* cr, const ChartData& data, double left, double right);
void drawLegend(cairo_t* cr, const ChartData& data, double left, double right, double top);

// The major lines' tags on the price axis, then the axis prices that no tag covers.
void drawPriceAxis(cairo_t* cr, const ChartData& data, const PriceScale& s);

void drawNetPanel(cairo_t* cr, const ChartData& data, const PriceScale& s);

}  // namespace ostrel::demo

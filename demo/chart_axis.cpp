// The price axis: tags for the major lines and the last price, and the round prices between.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "demo/chart_layout.h"
#include "demo/label_layout.h"

namespace ostrel::demo {
namespace {

constexpr double kTagHeight = 18.0;
constexpr double kTagGap = 2.0;

struct Tag {
  double wanted = 0.0;  // the line's y
  std::string label;
  std::uint32_t colour = 0;
};

// Dark text on light tags, light text on dark ones.
std::uint32_t textOn(std::uint32_t colour) {
  const double luma =
      0.299 * (colour & 0xFF) + 0.587 * ((colour >> 8) & 0xFF) + 0.114 * ((colour >> 16) & 0xFF);
  return luma > 140.0 ? kChartBackground : kTitleText;
}

std::vector<Tag> tags(const ChartData& d, const PriceScale& s) {
  std::vector<Tag> out;
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingHorizontalLine || !s.inside(dr.BeginValue)) continue;
    const std::uint32_t colour = dr.Color != kUnsetColour ? dr.Color : kAxisText;
    out.push_back(
        {s.y(dr.BeginValue), dr.Text.empty() ? priceText(dr.BeginValue) : dr.Text.c_str(), colour});
  }
  for (auto it = d.candles.rbegin(); it != d.candles.rend(); ++it) {
    if (!it->set) continue;
    if (s.inside(it->close)) {
      out.push_back({s.y(it->close), priceText(it->close), it->close >= it->open ? kUp : kDown});
    }
    break;
  }
  return out;
}

}  // namespace

std::string priceText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::vector<double> priceTicks(const PriceScale& s) {
  const double wanted = std::max(2.0, (s.f.bottom - s.f.top) / 50.0);
  const double raw = (s.hi - s.lo) / wanted;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double step = raw / mag < 2.0 ? 2.0 * mag : raw / mag < 5.0 ? 5.0 * mag : 10.0 * mag;
  std::vector<double> ticks;
  for (double p = std::ceil(s.lo / step) * step; p <= s.hi && ticks.size() < 100; p += step) {
    ticks.push_back(p);
  }
  return ticks;
}

void drawPriceGrid(cairo_t* cr, const PriceScale& s) {
  for (double p : priceTicks(s)) strokeLine(cr, s.f.left, s.y(p), s.f.right, s.y(p), kGrid, 1.0);
}

void drawPriceAxis(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  const std::vector<Tag> all = tags(d, s);
  std::vector<double> wanted;
  wanted.reserve(all.size());
  for (const Tag& t : all) wanted.push_back(t.wanted);
  const std::vector<double> placed = spreadLabels(wanted, kTagHeight, kTagGap, s.f.top, s.f.bottom);

  for (double p : priceTicks(s)) {
    const double y = s.y(p);
    const bool covered = std::any_of(placed.begin(), placed.end(), [y](double tag) {
      return std::fabs(tag - y) < kTagHeight / 2.0 + 7.0;
    });
    strokeLine(cr, s.f.right, y, s.f.right + 4.0, y, kAxis, 1.0);
    if (!covered) text(cr, s.f.right + 8.0, y, priceText(p), kAxisFont, kAxisText);
  }
  for (std::size_t i = 0; i < all.size(); ++i) {
    const double x0 = s.f.right + 6.0;
    const double x1 = x0 + textWidth(cr, all[i].label, kTagFont) + 12.0;
    const double y = placed[i];
    // A tag moved off its line points back at it.
    cairo_move_to(cr, s.f.right, all[i].wanted);
    cairo_line_to(cr, x0, y - kTagHeight / 2.0);
    cairo_line_to(cr, x0, y + kTagHeight / 2.0);
    cairo_close_path(cr);
    setColour(cr, all[i].colour);
    cairo_fill(cr);
    fillRoundedRect(cr, x0, y - kTagHeight / 2.0, x1, y + kTagHeight / 2.0, 3.0, all[i].colour);
    text(cr, x0 + 6.0, y, all[i].label, kTagFont, textOn(all[i].colour));
  }
}

}  // namespace ostrel::demo

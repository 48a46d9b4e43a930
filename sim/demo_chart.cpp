#include "sim/demo_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ostrel::sim {

namespace {

constexpr double kLeft = 20.0, kRight = 1480.0, kTop = 70.0, kBottom = 740.0;
constexpr double kLowerTop = 790.0, kLowerBottom = 920.0;
constexpr double kMicrosPerUnit = 86400000000.0;
const std::uint32_t kBackground = kChartBackground;
const std::uint32_t kGrid = hostColour(40, 46, 56);
const std::uint32_t kAxisText = hostColour(170, 176, 186);
const std::uint32_t kUp = hostColour(38, 166, 154);
const std::uint32_t kDown = hostColour(239, 83, 80);

struct Scale {
  double lo = 0.0, hi = 1.0;
  int bars = 1;
  double y(double price) const { return kBottom - (price - lo) / (hi - lo) * (kBottom - kTop); }
  double barX(double bar) const { return kLeft + bar * (kRight - kLeft) / bars; }
  double unitX(double units) const { return kLeft + units / 150.0 * (kRight - kLeft); }
  bool inside(double price) const { return price >= lo && price <= hi; }
};

bool isSet(std::uint32_t colour) { return colour != kUnsetColour; }

std::string priceText(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

Scale priceScale(const ChartData& d) {
  Scale s;
  s.bars = std::max<int>(1, static_cast<int>(d.candles.size()));
  double lo = std::numeric_limits<double>::max(), hi = std::numeric_limits<double>::lowest();
  for (const Candle& c : d.candles) {
    if (!c.set) continue;
    lo = std::min(lo, static_cast<double>(c.low));
    hi = std::max(hi, static_cast<double>(c.high));
  }
  const bool have_candles = lo <= hi;
  const double span = have_candles ? std::max(hi - lo, 1e-6) : 0.0;
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingHorizontalLine) continue;
    const double v = dr.BeginValue;
    // Levels far from the day's range would squash the candles; they are left off the scale.
    if (have_candles && (v < lo - 1.5 * span || v > hi + 1.5 * span)) continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  if (lo > hi) lo = 0.0, hi = 1.0;
  // Show a band of strikes around the last price, not only the day's range.
  for (auto it = d.candles.rbegin(); it != d.candles.rend(); ++it) {
    if (!it->set) continue;
    lo = std::min(lo, it->close * 0.988);
    hi = std::max(hi, it->close * 1.012);
    break;
  }
  const double pad = std::max((hi - lo) * 0.08, 1e-3);
  s.lo = lo - pad;
  s.hi = hi + pad;
  return s;
}

void drawGrid(Canvas& c, const ChartData& d, const Scale& s) {
  const double range = s.hi - s.lo;
  const double raw = range / 10.0;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double step = raw / mag < 2.0 ? 2.0 * mag : raw / mag < 5.0 ? 5.0 * mag : 10.0 * mag;
  for (double p = std::ceil(s.lo / step) * step; p <= s.hi; p += step) {
    c.line(kLeft, s.y(p), kRight, s.y(p), kGrid, 1.0, 0, 1.0);
    c.text(kRight + 8.0, s.y(p) - 6.0, priceText(p), 12.0, kAxisText, TextAlign::kLeft);
  }
  for (int minute = 0; minute <= s.bars; minute += 30) {
    const int clock = d.session_start_minute + minute;
    if (clock % 60 != 0) continue;
    const double x = s.barX(minute);
    c.line(x, kTop, x, kLowerBottom, kGrid, 1.0, 0, 1.0);
    char label[16];
    std::snprintf(label, sizeof label, "%02d:00", clock / 60);
    const double half = Canvas::textWidth(label, 12.0) / 2.0;
    c.text(std::max(x, kLeft + half), kBottom + 8.0, label, 12.0, kAxisText, TextAlign::kCentre);
  }
  c.line(kLeft, kTop, kRight, kTop, kGrid, 1.0, 0, 1.0);
  c.line(kLeft, kBottom, kRight, kBottom, kAxisText, 1.0, 0, 1.0);
  c.line(kRight, kTop, kRight, kBottom, kAxisText, 1.0, 0, 1.0);
}

void drawCandles(Canvas& c, const ChartData& d, const Scale& s) {
  const double w = (kRight - kLeft) / s.bars;
  for (std::size_t i = 0; i < d.candles.size(); ++i) {
    const Candle& k = d.candles[i];
    if (!k.set) continue;
    const std::uint32_t colour = k.close >= k.open ? kUp : kDown;
    const double x = s.barX(static_cast<double>(i) + 0.5);
    c.line(x, s.y(k.high), x, s.y(k.low), colour, 1.0, 0, 1.0);
    const double top = s.y(std::max(k.open, k.close)), bottom = s.y(std::min(k.open, k.close));
    c.fillRect(x - w * 0.35, top, x + w * 0.35, std::max(bottom, top + 1.0), colour, 1.0);
  }
}

void drawLevelSubgraphs(Canvas& c, const ChartData& d, const Scale& s) {
  for (int g = 0; g <= 6; ++g) {
    const std::vector<float>& v = d.values[static_cast<std::size_t>(g)];
    const int dash = (g == 3 || g == 4) ? 2 : 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (v[i] == 0.0f || !s.inside(v[i])) continue;
      const double y = s.y(v[i]);
      c.line(s.barX(static_cast<double>(i)), y, s.barX(static_cast<double>(i) + 1.0), y,
             d.primary[static_cast<std::size_t>(g)], 2.0, dash, 0.8);
      if (i + 1 < v.size() && v[i + 1] != 0.0f && v[i + 1] != v[i] && s.inside(v[i + 1])) {
        c.line(s.barX(static_cast<double>(i) + 1.0), y, s.barX(static_cast<double>(i) + 1.0),
               s.y(v[i + 1]), d.primary[static_cast<std::size_t>(g)], 1.0, 0, 0.5);
      }
    }
  }
  for (int g = 9; g <= 17; g += 2) {
    const std::vector<float>& v = d.values[static_cast<std::size_t>(g)];
    const std::vector<std::uint32_t>& col = d.colours[static_cast<std::size_t>(g)];
    for (std::size_t i = 0; i < v.size(); i += 3) {
      if (v[i] == 0.0f || !s.inside(v[i])) continue;
      const std::uint32_t colour =
          i < col.size() && col[i] != 0 ? col[i] : d.primary[static_cast<std::size_t>(g)];
      c.marker(s.barX(static_cast<double>(i) + 0.5), s.y(v[i]), 1.0, 0, colour);
    }
  }
}

void drawProfile(Canvas& c, const ChartData& d, const Scale& s) {
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingRectangle) continue;
    const double top = std::max(dr.BeginValue, dr.EndValue);
    const double bottom = std::min(dr.BeginValue, dr.EndValue);
    if (bottom > s.hi || top < s.lo) continue;
    const double x0 = s.unitX(static_cast<double>(dr.BeginTime) / kMicrosPerUnit);
    const double x1 = s.unitX(static_cast<double>(dr.EndTime) / kMicrosPerUnit);
    double y0 = s.y(top), y1 = s.y(bottom);
    if (y1 - y0 < 1.0) y1 = y0 + 1.0;
    const std::uint32_t border = isSet(dr.Color) ? dr.Color : kAxisText;
    if (isSet(dr.FillColor)) {
      const int t = dr.Transparency == kUnsetInt ? 0 : std::clamp(dr.Transparency, 0, 100);
      // Keep very transparent bars readable on the dark background.
      c.fillRect(x0, y0, x1, y1, dr.FillColor, std::max(0.35, (100 - t) / 100.0));
      c.line(x0, y0, x1, y0, border, 1.0, 0, 0.9);
      c.line(x0, y1, x1, y1, border, 1.0, 0, 0.9);
      c.line(x1, y0, x1, y1, border, 1.0, 0, 0.9);
    } else {
      const int dash = dr.LineStyle == 1 ? 1 : dr.LineStyle == 2 ? 2 : 0;
      const double width = dr.LineWidth == kUnsetShort ? 1.0 : std::min<double>(dr.LineWidth, 6.0);
      c.line(x0, 0.5 * (y0 + y1), x1, 0.5 * (y0 + y1), border, width, dash, 1.0);
    }
  }
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingMarker || dr.Hidden == 1 || !s.inside(dr.BeginValue)) continue;
    const int shape = dr.MarkerType == 14 ? 1 : dr.MarkerType == 2 ? 2 : 0;
    const double size = dr.MarkerSize > 0 && dr.MarkerSize < 20 ? dr.MarkerSize : 0;
    c.marker(s.unitX(static_cast<double>(dr.BeginTime) / kMicrosPerUnit), s.y(dr.BeginValue),
             3.0 + size, shape, isSet(dr.Color) ? dr.Color : kAxisText);
  }
}

void drawMajorLines(Canvas& c, const ChartData& d, const Scale& s) {
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingHorizontalLine || !s.inside(dr.BeginValue)) continue;
    const std::uint32_t colour = isSet(dr.Color) ? dr.Color : kAxisText;
    const int dash = dr.LineStyle == 1 ? 1 : dr.LineStyle == 2 ? 2 : 0;
    const double width = dr.LineWidth == kUnsetShort ? 1.0 : std::min<double>(dr.LineWidth, 6.0);
    const double y = s.y(dr.BeginValue);
    c.line(kLeft, y, kRight, y, colour, width, dash, 1.0);
    if (dr.Text.empty()) continue;
    const double size = 14.0;
    const double w = Canvas::textWidth(dr.Text.c_str(), size);
    double x = kRight - 6.0 - w;
    if (dr.TextAlignment == 4) x = kLeft + 6.0;
    if (dr.TextAlignment == 5) x = 0.5 * (kLeft + kRight) - w / 2.0;
    if (dr.TransparentBackground != 1)
      c.fillRect(x - 3, y - 19, x + w + 3, y - 2, kBackground, 0.85);
    c.text(x, y - 17.0, dr.Text.c_str(), size, colour, TextAlign::kLeft);
  }
}

void drawNetPanel(Canvas& c, const ChartData& d, const Scale& s) {
  c.line(kLeft, kLowerTop, kRight, kLowerTop, kGrid, 1.0, 0, 1.0);
  c.line(kLeft, kLowerBottom, kRight, kLowerBottom, kGrid, 1.0, 0, 1.0);
  double peak = 1e-9;
  for (int g = 7; g <= 8; ++g) {
    for (float v : d.values[static_cast<std::size_t>(g)])
      peak = std::max(peak, std::fabs(static_cast<double>(v)));
  }
  const double mid = 0.5 * (kLowerTop + kLowerBottom), half = 0.45 * (kLowerBottom - kLowerTop);
  c.line(kLeft, mid, kRight, mid, kAxisText, 1.0, 2, 0.6);
  c.text(kLeft + 6.0, kLowerTop + 4.0, "Net GEX (subgraphs 7, 8)", 12.0, kAxisText,
         TextAlign::kLeft);
  c.text(kRight + 8.0, kLowerTop, priceText(peak), 12.0, kAxisText, TextAlign::kLeft);
  c.text(kRight + 8.0, kLowerBottom - 12.0, priceText(-peak), 12.0, kAxisText, TextAlign::kLeft);
  const std::uint32_t colours[2] = {d.primary[7], hostColour(120, 200, 255)};
  for (int g = 7; g <= 8; ++g) {
    const std::vector<float>& v = d.values[static_cast<std::size_t>(g)];
    for (std::size_t i = 1; i < v.size(); ++i) {
      if (v[i] == 0.0f || v[i - 1] == 0.0f) continue;
      c.line(s.barX(static_cast<double>(i) - 0.5), mid - v[i - 1] / peak * half,
             s.barX(static_cast<double>(i) + 0.5), mid - v[i] / peak * half, colours[g - 7], 1.5,
             g == 8 ? 1 : 0, 1.0);
    }
  }
}

void drawLegend(Canvas& c, const ChartData& d) {
  if (d.legend.empty()) return;
  double width = 0.0;
  for (const LegendEntry& e : d.legend) width = std::max(width, Canvas::textWidth(e.label, 12.0));
  const double x = kLeft + 8.0, y = kTop + 8.0, row = 17.0;
  c.fillRect(x, y, x + width + 44.0, y + 8.0 + row * static_cast<double>(d.legend.size()),
             kBackground, 0.85);
  double ry = y + 6.0;
  for (const LegendEntry& e : d.legend) {
    if (e.kind == LegendEntry::kBox) c.fillRect(x + 8, ry + 1, x + 26, ry + 11, e.colour, 1.0);
    if (e.kind == LegendEntry::kLine)
      c.line(x + 6, ry + 6, x + 28, ry + 6, e.colour, 2.0, e.dash, 1.0);
    if (e.kind == LegendEntry::kDot) c.marker(x + 17, ry + 6, 4.0, 1, e.colour);
    c.text(x + 36, ry, e.label, 12.0, kAxisText, TextAlign::kLeft);
    ry += row;
  }
}

}  // namespace

void drawChart(Canvas& c, const ChartData& d) {
  const Scale s = priceScale(d);
  c.text(kLeft, 14.0, d.title, 20.0, hostColour(235, 238, 242), TextAlign::kLeft);
  c.text(kLeft, 44.0, d.subtitle, 12.0, kAxisText, TextAlign::kLeft);
  drawGrid(c, d, s);
  drawCandles(c, d, s);
  drawLevelSubgraphs(c, d, s);
  drawProfile(c, d, s);
  drawMajorLines(c, d, s);
  drawNetPanel(c, d, s);
  drawLegend(c, d);
}

}  // namespace ostrel::sim

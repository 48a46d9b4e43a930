#include "demo/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "demo/chart_layout.h"

namespace ostrel::demo {
namespace {

constexpr double kMicrosPerUnit = 86400000000.0;
constexpr double kMargin = 18.0;
constexpr double kAxisWidth = 118.0;  // the price axis right of the panels

bool isSet(std::uint32_t colour) { return colour != kUnsetColour; }

Dash dashOf(std::int32_t line_style) {
  return line_style == 1 ? Dash::kDashed : line_style == 2 ? Dash::kDotted : Dash::kSolid;
}

PriceScale priceScale(const ChartData& d, const Frame& f) {
  PriceScale s;
  s.f = f;
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
  const double pad = std::max((hi - lo) * 0.06, 1e-3);
  s.lo = lo - pad;
  s.hi = hi + pad;
  return s;
}

// A time label every 5 to 120 minutes, whichever gives at most 14 across the session.
void drawTimeGrid(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  int step = 120;
  for (int candidate : {5, 10, 15, 30, 60}) {
    if (s.bars / candidate <= 14) {
      step = candidate;
      break;
    }
  }
  for (int minute = 0; minute <= s.bars; ++minute) {
    const int clock = d.session_start_minute + minute;
    if (clock % step != 0) continue;
    const double x = s.barX(minute);
    const bool hour = clock % 60 == 0;
    const Dash dash = hour ? Dash::kSolid : Dash::kDotted;
    strokeLine(cr, x, s.f.top, x, s.f.bottom, kGrid, 1.0, dash);
    strokeLine(cr, x, s.f.net_top, x, s.f.net_bottom, kGrid, 1.0, dash);
    char label[16];
    std::snprintf(label, sizeof label, "%02d:%02d", clock / 60 % 24, clock % 60);
    const double half = textWidth(cr, label, kAxisFont) / 2.0;
    const double cx = std::clamp(x, s.f.left + half, s.f.right - half);
    text(cr, cx, s.f.net_bottom + 16.0, label, kAxisFont, hour ? kAxisText : kAxis, Align::kCentre);
  }
}

// Subgraphs 0-6 as step lines, one path per run of bars in range.
void drawLevelSubgraphs(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  for (int g = 0; g <= 6; ++g) {
    const std::vector<float>& v = d.values[static_cast<std::size_t>(g)];
    bool open = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (v[i] == 0.0f || !s.inside(v[i])) {
        open = false;
        continue;
      }
      const double x = s.barX(static_cast<double>(i)), y = s.y(v[i]);
      if (open) {
        cairo_line_to(cr, x, y);
      } else {
        cairo_move_to(cr, x, y);
        open = true;
      }
      cairo_line_to(cr, s.barX(static_cast<double>(i) + 1.0), y);
    }
    const double dotted[] = {1.5, 3.5};
    if (g == 3 || g == 4) cairo_set_dash(cr, dotted, 2, 0.0);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, d.primary[static_cast<std::size_t>(g)], 0.75);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
  }
  for (int g = 9; g <= 17; g += 2) {
    const std::vector<float>& v = d.values[static_cast<std::size_t>(g)];
    const std::vector<std::uint32_t>& col = d.colours[static_cast<std::size_t>(g)];
    for (std::size_t i = 0; i < v.size(); i += 3) {
      if (v[i] == 0.0f || !s.inside(v[i])) continue;
      const std::uint32_t colour =
          i < col.size() && col[i] != 0 ? col[i] : d.primary[static_cast<std::size_t>(g)];
      marker(cr, s.barX(static_cast<double>(i) + 0.5), s.y(v[i]), 1.6, 0, colour, 0.8);
    }
  }
}

void drawCandles(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  const double w = (s.f.right - s.f.left) / s.bars;
  const double body = std::max(1.0, w * 0.7);
  for (std::size_t i = 0; i < d.candles.size(); ++i) {
    const Candle& k = d.candles[i];
    if (!k.set) continue;
    const std::uint32_t colour = k.close >= k.open ? kUp : kDown;
    const double x = s.barX(static_cast<double>(i) + 0.5);
    strokeLine(cr, x, s.y(k.high), x, s.y(k.low), colour, 1.0);
    const double top = s.y(std::max(k.open, k.close)), bottom = s.y(std::min(k.open, k.close));
    fillRect(cr, x - body / 2.0, top, x + body / 2.0, std::max(bottom, top + 1.0), colour);
  }
}

void drawProfileBars(cairo_t* cr, const ChartData& d, const PriceScale& s) {
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
      fillRect(cr, std::min(x0, x1), y0, std::max(x0, x1), y1, dr.FillColor,
               std::max(0.45, (100 - t) / 100.0));
      cairo_set_line_width(cr, 1.0);
      setColour(cr, border, 0.9);
      cairo_rectangle(cr, std::min(x0, x1) + 0.5, y0 + 0.5, std::fabs(x1 - x0) - 1.0,
                      std::max(0.0, y1 - y0 - 1.0));
      cairo_stroke(cr);
    } else {
      const double width = dr.LineWidth == kUnsetShort ? 1.0 : std::min<double>(dr.LineWidth, 6.0);
      strokeLine(cr, x0, 0.5 * (y0 + y1), x1, 0.5 * (y0 + y1), border, width, dashOf(dr.LineStyle));
    }
  }
}

void drawPriorMarkers(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingMarker || dr.Hidden == 1 || !s.inside(dr.BeginValue)) continue;
    const int shape = dr.MarkerType == 14 ? 1 : dr.MarkerType == 2 ? 2 : 0;
    const double size = dr.MarkerSize > 0 && dr.MarkerSize < 20 ? dr.MarkerSize : 0;
    marker(cr, s.unitX(static_cast<double>(dr.BeginTime) / kMicrosPerUnit), s.y(dr.BeginValue),
           2.5 + size * 0.5, shape, isSet(dr.Color) ? dr.Color : kAxisText);
  }
}

void drawMajorLines(cairo_t* cr, const ChartData& d, const PriceScale& s) {
  for (auto it = d.candles.rbegin(); it != d.candles.rend(); ++it) {
    if (!it->set) continue;
    const double y = s.y(it->close);
    strokeLine(cr, s.f.left, y, s.f.right, y, it->close >= it->open ? kUp : kDown, 1.0,
               Dash::kDotted, 0.8);
    break;
  }
  for (const DrawingSpec& dr : d.drawings) {
    if (dr.DrawingType != kDrawingHorizontalLine || !s.inside(dr.BeginValue)) continue;
    const std::uint32_t colour = isSet(dr.Color) ? dr.Color : kAxisText;
    const double width = dr.LineWidth == kUnsetShort ? 1.0 : std::min<double>(dr.LineWidth, 4.0);
    const double y = s.y(dr.BeginValue);
    strokeLine(cr, s.f.left, y, s.f.right, y, colour, width, dashOf(dr.LineStyle));
  }
}

Frame frame(cairo_t* cr, const ChartData& d) {
  Frame f;
  f.left = kMargin;
  f.right = kChartWidth - kAxisWidth;
  f.legend_top = 66.0;
  f.top = legendHeight(cr, d, f.left, f.right) + f.legend_top + 12.0;
  f.net_bottom = kChartHeight - 34.0;
  f.net_top = f.net_bottom - 130.0;
  f.bottom = f.net_top - 16.0;
  return f;
}

}  // namespace

void drawChart(cairo_t* cr, const ChartData& d) {
  cairo_save(cr);
  fillRect(cr, 0, 0, kChartWidth, kChartHeight, kChartBackground);
  const Frame f = frame(cr, d);
  const PriceScale s = priceScale(d, f);
  text(cr, f.left, 24.0, d.title, Font{20.0, true}, kTitleText);
  text(cr, f.left, 48.0, d.subtitle, Font{12.0, false}, kAxisText);
  drawLegend(cr, d, f.left, f.right, f.legend_top);

  fillRect(cr, f.left, f.top, f.right, f.bottom, kPanel);
  fillRect(cr, f.left, f.net_top, f.right, f.net_bottom, kPanel);
  drawTimeGrid(cr, d, s);
  cairo_save(cr);
  cairo_rectangle(cr, f.left, f.top, f.right - f.left, f.bottom - f.top);
  cairo_clip(cr);
  drawPriceGrid(cr, s);
  drawLevelSubgraphs(cr, d, s);
  drawProfileBars(cr, d, s);
  drawCandles(cr, d, s);
  drawPriorMarkers(cr, d, s);
  drawMajorLines(cr, d, s);
  cairo_restore(cr);
  strokeLine(cr, f.right, f.top, f.right, f.bottom, kAxis, 1.0);
  drawPriceAxis(cr, d, s);
  drawNetPanel(cr, d, s);
  cairo_restore(cr);
}

}  // namespace ostrel::demo

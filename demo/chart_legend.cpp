// The legend: entries in rows above the price panel, wrapped at the panel's width.
#include <algorithm>

#include "demo/chart_layout.h"

namespace ostrel::demo {
namespace {

constexpr double kRow = 20.0;
constexpr double kIcon = 26.0;
constexpr double kSpacing = 26.0;
constexpr Font kLegendFont{12.0, false};

double entryWidth(cairo_t* cr, const LegendEntry& e) {
  return kIcon + 8.0 + textWidth(cr, e.label, kLegendFont) + kSpacing;
}

void drawIcon(cairo_t* cr, const LegendEntry& e, double x, double y) {
  if (e.kind == LegendEntry::kBox) {
    fillRoundedRect(cr, x + 3.0, y - 6.0, x + kIcon - 3.0, y + 6.0, 2.0, e.colour);
  } else if (e.kind == LegendEntry::kLine) {
    strokeLine(cr, x, y, x + kIcon, y, e.colour, 2.0,
               e.dash == 1   ? Dash::kDashed
               : e.dash == 2 ? Dash::kDotted
                             : Dash::kSolid);
  } else {
    marker(cr, x + kIcon / 2.0, y, e.kind == LegendEntry::kDot ? 4.5 : 3.0,
           e.kind == LegendEntry::kDot ? 1 : 0, e.colour);
  }
}

}  // namespace

double legendHeight(cairo_t* cr, const ChartData& d, double left, double right) {
  if (d.legend.empty()) return 0.0;
  int rows = 1;
  double x = left;
  for (const LegendEntry& e : d.legend) {
    const double w = entryWidth(cr, e);
    if (x > left && x + w > right) {
      ++rows;
      x = left;
    }
    x += w;
  }
  return rows * kRow;
}

void drawLegend(cairo_t* cr, const ChartData& d, double left, double right, double top) {
  double x = left, y = top + kRow / 2.0;
  for (const LegendEntry& e : d.legend) {
    const double w = entryWidth(cr, e);
    if (x > left && x + w > right) {
      x = left;
      y += kRow;
    }
    drawIcon(cr, e, x, y);
    text(cr, x + kIcon + 8.0, y, e.label, kLegendFont, kAxisText);
    x += w;
  }
}

}  // namespace ostrel::demo

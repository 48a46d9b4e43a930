// The demo's picture: the session's one-minute candles with everything the study put on the
// chart, drawn with cairo by one routine for both the PNG and the SVG.
//
// Layout, top to bottom: title and subtitle; the legend in rows of its own (never over the
// data); the price panel with the price axis on the right; the net GEX panel; the time axis.
// Drawn in the price panel, back to front: grid, the published level subgraphs 0-6 as step lines
// (the majors history fills 0-2 for the whole day), the max-change strike subgraphs as dots,
// the study's strike bars (rectangles), candles, the study's prior dots (markers; hidden ones
// left out), a dotted line at the last price and the study's major lines. Each major line's text
// and the last price go into tags on the price axis, moved apart so that none overlaps another;
// axis prices that a tag would cover are left out. Time labels every 5 to 120 minutes.
// Horizontal positions of bars and markers are window units: 0..150 across the price panel.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/paint.h"
#include "host/drawing_spec.h"

namespace ostrel::demo {

struct Candle {
  float open = 0.0f, high = 0.0f, low = 0.0f, close = 0.0f;
  bool set = false;
};

constexpr int kDemoSubgraphs = 19;

// One legend entry: a filled box, a line (dash 0 solid, 1 dashed, 2 dotted), a dot (diamond,
// as the prior markers) or a disc (as the subgraph dots).
struct LegendEntry {
  enum Kind { kBox, kLine, kDot, kDisc } kind = kBox;
  std::uint32_t colour = 0;
  int dash = 0;
  std::string label;
};

struct ChartData {
  std::string title;
  std::string subtitle;
  int session_start_minute = 9 * 60 + 30;  // label of bar 0, minutes after midnight
  std::vector<Candle> candles;             // one per bar
  std::vector<DrawingSpec> drawings;       // the study's drawings left on the chart
  std::array<std::vector<float>, kDemoSubgraphs> values;
  std::array<std::vector<std::uint32_t>, kDemoSubgraphs> colours;
  std::array<std::uint32_t, kDemoSubgraphs> primary{};
  std::array<std::string, kDemoSubgraphs> names;
  std::vector<LegendEntry> legend;
};

constexpr int kChartWidth = 1600;
constexpr int kChartHeight = 960;
constexpr std::uint32_t kChartBackground = hostColour(19, 23, 31);

// Draws the whole picture onto `cr`, whose surface is kChartWidth x kChartHeight.
void drawChart(cairo_t* cr, const ChartData& data);

}  // namespace ostrel::demo

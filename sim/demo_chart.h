// The demo's picture: price candles of the session with everything the study put on the chart.
//
// Drawn, back to front: grid and axes, candles, the published level subgraphs 0-6 as step lines
// (the majors history fills 0-2 for the whole day), the max-change strike subgraphs as dots,
// the study's strike bars (rectangles) and prior dots (markers, hidden ones left out), its major
// lines with their labels, a legend, and a lower panel with net GEX (subgraphs 7 and 8).
// Horizontal positions of bars and markers are window units: 0..150 across the price panel.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/drawing_spec.h"
#include "sim/demo_canvas.h"

namespace ostrel::sim {

struct Candle {
  float open = 0.0f, high = 0.0f, low = 0.0f, close = 0.0f;
  bool set = false;
};

constexpr int kDemoSubgraphs = 19;

// One legend line: a filled box, a line (dash 0 solid, 1 dashed, 2 dotted) or a dot.
struct LegendEntry {
  enum Kind { kBox, kLine, kDot } kind = kBox;
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
constexpr std::uint32_t kChartBackground = hostColour(16, 20, 26);
constexpr int kChartHeight = 960;

void drawChart(Canvas& canvas, const ChartData& data);

}  // namespace ostrel::sim

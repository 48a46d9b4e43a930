#include "demo/capture.h"

#include <algorithm>
#include <cstdio>

#include "demo/session.h"
#include "study/input_ids.h"

namespace ostrel::demo {

namespace {

const char* const kKindNames[] = {"90d agg Gex", "0dte Gex",   "1dte Gex",  "0dte Gamma",
                                  "1dte Gamma",  "0dte Delta", "1dte Delta"};
const char* const kDisplayNames[] = {"Volume", "OI", "Both"};

std::uint32_t colourInput(sim::SimHost& sim, int index) {
  const StudyInput& in = sim.input(index);
  return in.type == InputType::kColour ? in.colour_value : 0xFFFFFFu;
}

void addLegend(sim::SimHost& sim, const DemoOptions& o, ChartData& chart) {
  auto& L = chart.legend;
  L.push_back(
      {LegendEntry::kBox, hostColour(38, 166, 154), 0,
       o.ticker + (o.future.empty() ? "" : " on " + o.future) + " price, 1-minute candles"});
  if (o.kind <= 2) {
    if (o.display != 1) {
      L.push_back({LegendEntry::kBox, colourInput(sim, in::kCallGexVolumeColour), 0,
                   "Call GEX by volume (strike bars)"});
      L.push_back(
          {LegendEntry::kBox, colourInput(sim, in::kPutGexVolumeColour), 0, "Put GEX by volume"});
      L.push_back({LegendEntry::kDot, colourInput(sim, in::kGexDotColour1 + 1), 0,
                   "GEX 5 min ago (prior dots)"});
      L.push_back(
          {LegendEntry::kDot, colourInput(sim, in::kGexDotColour1 + 3), 0, "GEX 15 min ago"});
    }
    if (o.display != 0) {
      L.push_back({LegendEntry::kBox, colourInput(sim, in::kCallGexOiColour), 0,
                   "Call / put GEX by open interest"});
    }
    L.push_back({LegendEntry::kLine, colourInput(sim, in::kMajorCallVolColour), 1,
                 "Major call (MCV) / put (MPV) by volume"});
    L.push_back({LegendEntry::kLine, colourInput(sim, in::kZeroGammaColour), 1, "Zero gamma (ZG)"});
  } else {
    const bool gamma = o.kind <= 4;
    L.push_back({LegendEntry::kBox,
                 colourInput(sim, gamma ? in::kLongGammaColour : in::kPositiveDeltaColour), 0,
                 gamma ? "Long gamma (strike bars)" : "Positive delta (strike bars)"});
    L.push_back({LegendEntry::kBox,
                 colourInput(sim, gamma ? in::kShortGammaColour : in::kNegativeDeltaColour), 0,
                 gamma ? "Short gamma" : "Negative delta"});
    if (gamma) {
      L.push_back({LegendEntry::kLine, colourInput(sim, in::kMajorLongGammaColour), 1,
                   "Major long / short gamma"});
    }
  }
  L.push_back(
      {LegendEntry::kLine, chart.primary[0], 0, "Subgraphs 0-2: majors through the day (history)"});
  L.push_back({LegendEntry::kLine, chart.primary[3], 2, "Subgraphs 3-4: majors by OI"});
  // The max-change strikes carry a colour per bar; the legend shows one of them.
  std::uint32_t change_colour = chart.primary[17];
  for (int g = 17; g >= 9; g -= 2) {
    for (std::uint32_t c : chart.colours[static_cast<std::size_t>(g)]) {
      if (c != 0) change_colour = c;
    }
  }
  L.push_back({LegendEntry::kDisc, change_colour, 0, "Subgraphs 9-17: max-change strikes"});
}

}  // namespace

void DemoCapture::addPrice(int bar, float price) {
  if (bar < 0 || static_cast<std::size_t>(bar) >= candles_.size()) return;
  Candle& c = candles_[static_cast<std::size_t>(bar)];
  if (!c.set) {
    c = Candle{price, price, price, price, true};
    return;
  }
  c.high = std::max(c.high, price);
  c.low = std::min(c.low, price);
  c.close = price;
}

void DemoCapture::finish(sim::SimHost& sim, const DemoOptions& o, DemoResult& result) const {
  ChartData& chart = result.chart;
  chart.session_start_minute = o.start_second / 60;
  chart.candles = candles_;
  for (const auto& entry : sim.drawings()) {
    if (entry.second.study_own) chart.drawings.push_back(entry.second.spec);
  }
  const std::size_t bars = candles_.size();
  for (int g = 0; g < kDemoSubgraphs; ++g) {
    Subgraph& sg = sim.subgraph(g);
    auto& values = chart.values[static_cast<std::size_t>(g)];
    auto& colours = chart.colours[static_cast<std::size_t>(g)];
    values.assign(bars, 0.0f);
    colours.assign(bars, 0u);
    for (std::size_t i = 0; i < bars && static_cast<std::int32_t>(i) < sg.value_count; ++i) {
      values[i] = sg.values[i];
      if (static_cast<std::int32_t>(i) < sg.colour_count) colours[i] = sg.colours[i];
    }
    chart.primary[static_cast<std::size_t>(g)] = sg.primary_colour;
    chart.names[static_cast<std::size_t>(g)] = sg.name.c_str();
  }
  long history_bars = 0;
  for (std::size_t i = 0; i < bars; ++i) {
    if (chart.values[0][i] != 0.0f || chart.values[1][i] != 0.0f || chart.values[2][i] != 0.0f) {
      ++history_bars;
    }
  }
  result.stats.history_bars = history_bars;

  const char* package = o.package == 1 ? "State" : "Classic";
  chart.title = "Ostrel GEX profile - " + o.ticker + " " + package + " " +
                kKindNames[std::clamp(o.kind, 0, 6)] +
                (o.future.empty() ? std::string() : " converted to " + o.future);
  char subtitle[256];
  std::snprintf(subtitle, sizeof subtitle,
                "%s New York session, 1-minute bars | display %s | premium x%.4f %+.2f | "
                "seed %llu | mock data service on loopback",
                o.date.c_str(), kDisplayNames[std::clamp(o.display, 0, 2)],
                static_cast<double>(result.stats.multiplier),
                static_cast<double>(result.stats.additive),
                static_cast<unsigned long long>(o.seed));
  chart.subtitle = subtitle;
  addLegend(sim, o, chart);
}

}  // namespace ostrel::demo

// DemoCapture: what the demo keeps from a session for the picture — one-minute candles built
// from the prices it is fed, and at the end the chart's drawings, subgraphs and legend.
#pragma once

#include <vector>

#include "demo/chart.h"
#include "demo/options.h"
#include "sim/sim_host.h"

namespace ostrel::demo {

struct DemoResult;

class DemoCapture {
 public:
  explicit DemoCapture(int bars) : candles_(static_cast<std::size_t>(bars > 0 ? bars : 1)) {}

  // A price seen in a bar; bars outside the session are ignored.
  void addPrice(int bar, float price);
  // Takes the chart's final state from the host into result.chart (and the history count).
  void finish(sim::SimHost& sim, const DemoOptions& options, DemoResult& result) const;

 private:
  std::vector<Candle> candles_;
};

}  // namespace ostrel::demo

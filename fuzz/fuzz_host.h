// FuzzHost: the smallest host the answer parsers need, for the fuzz targets and their corpus
// replay. Self-contained (no simulator), so the fuzz build instruments only the product code.
//
// - 128 inputs, the two premiums at 0 and 1 (float); 3 subgraphs of kBars values, all 0.
// - LogMessage counts lines and remembers whether any had a null text or a flag other than 0/1.
// - ZoneTimeToHost returns the time unchanged and remembers any zone other than "UTC+00".
// - BarIndexAt spreads times over -50 .. kBars + 59 by the minute, so that fuzzed timestamps hit
//   bars before, inside and after the chart.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/study_host.h"
#include "study/input_ids.h"

namespace ostrel::fuzz {

class FuzzHost {
 public:
  static constexpr std::int32_t kBars = 390;
  static constexpr std::int32_t kSubgraphs = 3;

  FuzzHost() : inputs_(128), values_(kSubgraphs, std::vector<float>(kBars, 0.0f)) {
    inputs_[in::kAdditivePremium].setFloat(0.0f);
    inputs_[in::kMultiplicativePremium].setFloat(1.0f);
    for (std::int32_t k = 0; k < kSubgraphs; ++k) {
      subgraphs_[k].values = values_[static_cast<std::size_t>(k)].data();
      subgraphs_[k].value_count = kBars;
    }
    host_.BarCount = kBars;
    host_.ChartId = 1;
    host_.Inputs = inputs_.data();
    host_.InputCount = static_cast<std::int32_t>(inputs_.size());
    host_.Subgraphs = subgraphs_;
    host_.SubgraphCount = kSubgraphs;
    host_.HostContext = this;
    host_.Ops.LogMessage = &logMessage;
    host_.Ops.ZoneTimeToHost = &zoneTimeToHost;
    host_.Ops.BarIndexAt = &barIndexAt;
  }
  FuzzHost(const FuzzHost&) = delete;
  FuzzHost& operator=(const FuzzHost&) = delete;

  StudyHost& host() noexcept { return host_; }
  StudyInput& input(std::int32_t index) { return inputs_[static_cast<std::size_t>(index)]; }
  float value(std::int32_t subgraph, std::int32_t bar) const {
    return values_[static_cast<std::size_t>(subgraph)][static_cast<std::size_t>(bar)];
  }

  int log_lines = 0;
  bool bad_log = false;
  bool bad_zone = false;

 private:
  static FuzzHost& self(StudyHost* h) { return *static_cast<FuzzHost*>(h->HostContext); }

  static void logMessage(StudyHost* h, const char* text, std::int32_t flag) {
    FuzzHost& s = self(h);
    ++s.log_lines;
    if (text == nullptr || (flag != 0 && flag != 1)) s.bad_log = true;
  }
  static DateTime zoneTimeToHost(StudyHost* h, DateTime t, const char* zone) {
    if (zone == nullptr || std::strcmp(zone, "UTC+00") != 0) self(h).bad_zone = true;
    return t;
  }
  static std::int32_t barIndexAt(StudyHost*, std::int32_t, DateTime t) {
    constexpr DateTime kMinute = 60000000;
    const DateTime minutes = t / kMinute;
    return static_cast<std::int32_t>(minutes % (kBars + 110)) - 50;
  }

  StudyHost host_;
  std::vector<StudyInput> inputs_;
  std::vector<std::vector<float>> values_;
  Subgraph subgraphs_[kSubgraphs];
};

}  // namespace ostrel::fuzz

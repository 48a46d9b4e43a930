// A lean host for the trading-day figure: the simulated host's inputs, subgraphs and bars, but
// operations over flat arrays that record nothing (stored values indexed by key, drawings only
// numbered, New York as the host zone). It shows the study's own cost of a day apart from the
// simulated host's bookkeeping (maps of stored values and drawings, a record of every call).
#pragma once

#include <cstdint>
#include <string>

#include "host/study_host.h"

namespace ostrel::bench {

struct LeanRequest {
  bool started = false;
  bool history = false;
};

// Replaces `host`'s operations by the lean ones; one lean host at a time per process.
// `bar_start` and `bar_step` describe the chart's bars (for BarIndexAt).
void installLeanHost(StudyHost& host, DateTime bar_start, std::int64_t bar_step);

// The request the study started since the last call of this function, if any.
LeanRequest takeLeanRequest();

// Drawings placed and not removed.
std::int64_t leanDrawingCount();

}  // namespace ostrel::bench

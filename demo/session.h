// One simulated New York session of the study against the local mock service.
//
// The study runs in a SimHost on a chart of 1-minute bars that grows as the session goes on;
// it is called every `step_seconds` simulated seconds, with a full recalculation at the start,
// every `recalc_minutes` and at the end (so the majors history is fetched again and covers the
// whole day). Host-carried requests go to the service over HTTP after the call that started
// them, and their answers are handed to the study in the next call; the futures conversion goes
// to the service from inside the call, as the study's own direct request would. Candles are the
// service's price walk, converted with the premiums the study holds at each moment.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "demo/chart.h"
#include "demo/options.h"
#include "mock/market_model.h"
#include "sim/sim_host.h"

namespace ostrel::demo {

struct DemoStats {
  long calls = 0;
  long full_recalcs = 0;
  long profile_requests = 0;
  long profile_drawn = 0;      // answers after which the study placed its drawings
  long profile_not_drawn = 0;  // error answers, faults, retries
  long history_requests = 0;
  long history_bars = 0;  // bars of subgraph 0-2 holding a value at the end
  long conversions = 0;
  long conversion_failures = 0;
  long faults_injected = 0;
  long http_failures = 0;  // no answer within the host's wait
  float multiplier = 1.0f;
  float additive = 0.0f;
  bool halted = false;
  std::map<std::string, long> messages;  // log text -> count
};

struct DemoResult {
  ChartData chart;
  DemoStats stats;
  std::vector<sim::LogEntry> log;  // every log line, in order (with the time of its call)
  std::vector<std::string> log_times;
};

// False with a reason when the session cannot run (no service answer at all, for example).
bool runDemoSession(const DemoOptions& options, int service_port, mock::MarketModel& market,
                    DemoResult& result, std::string& error);

}  // namespace ostrel::demo

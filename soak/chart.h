// SoakChart: one chart of the soak with the study on it, over many days.
//
// The chart holds 1-minute bars from 00:00 (host time) of the day it was last loaded up to the
// current minute. Each instance of the study on it is one SimHost: loading the chart (or adding
// the study again) makes a new one, starting with the defaults call, the inputs of the setup
// and a full recalculation; removing the study makes the removal call and drops it. A drawing of
// the user's own stays on the chart beside the study's. Every call goes through the SoakEntry,
// with the network's answer to the previous call's request, and is followed by the invariant
// checks of soak/invariants.h and the request ledger. On a full recalculation the host
// clears the subgraphs first, as the platform does. A call of the hidden study (suspended) is
// checked by soak/hidden_check.h besides.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/sim_host.h"
#include "soak/entry.h"
#include "soak/hidden_check.h"
#include "soak/invariants.h"
#include "soak/network.h"
#include "soak/options.h"
#include "soak/requests.h"
#include "soak/violations.h"

namespace ostrel::soak {

// Texts are constants of the soak (no copies).
struct ChartSetup {
  const char* name = "";  // "SPX>ES"
  const char* ticker = "";
  std::int32_t package = 0;           // "Package": 0 Classic, 1 State
  std::int32_t kind = 0;              // "Greek": 0 full .. 6 delta_one
  std::int32_t display = 2;           // "GEX Volume and/or OI Display"
  const char* future = "";            // futures target; empty: none
  const char* host_zone = "";         // the chart's time zone (host date-times are its wall clock)
  std::int32_t interval_seconds = 5;  // "Request Interval (seconds)"
};

enum class CallKind { kOrdinary, kFullRecalc, kSuspended };

class SoakChart {
 public:
  SoakChart(ChartSetup setup, const SoakOptions& options, SoakEntry& entry, SoakNetwork& network,
            SoakViolations& violations);
  ~SoakChart();

  // A new instance of the study (the chart loaded afresh when `new_bars`: bars from today).
  void load(std::int64_t unix_now, bool new_bars, long call_number, RequestCounters& counters);
  // The removal call; checks that every drawing is gone and the profile records released.
  void remove(std::int64_t unix_now, long call_number, RequestCounters& counters);
  void call(std::int64_t unix_now, CallKind kind, long call_number, RequestCounters& counters);
  // Removes one recorded drawing behind the study's back (as a user deleting it would).
  bool tamper();
  // The end of the run: a request in flight stays pending.
  void finish();

  bool loaded() const noexcept { return sim_ != nullptr; }
  // The next call brings the answer of a request in flight.
  bool answerDue() const noexcept { return ledger_ && ledger_->inFlight(); }
  // The last call placed drawings (a render pass ran).
  bool lastCallPlaced() const noexcept { return last_placed_; }
  sim::SimHost* sim() noexcept { return sim_.get(); }
  const std::string& instanceName() const noexcept { return instance_name_; }

 private:
  DateTime hostTime(std::int64_t unix_now);
  void updateBars(DateTime now);
  void clearSubgraphs();
  CheckContext context(long call_number, std::int64_t unix_now);

  ChartSetup setup_;
  const SoakOptions& options_;
  SoakEntry& entry_;
  SoakNetwork& network_;
  SoakViolations& violations_;
  std::unique_ptr<sim::SimHost> sim_;
  int instances_ = 0;
  std::string instance_name_;
  DateTime bars_start_ = 0;
  std::int32_t bar_count_ = 0;
  std::int64_t last_call_ = 0;
  bool last_placed_ = false;
  std::unique_ptr<RequestLedger> ledger_;
  DrawingInvariant drawings_;
  ReportOnce keys_report_;
  ReportOnce premiums_report_;
  ReportOnce hidden_report_;
};

}  // namespace ostrel::soak

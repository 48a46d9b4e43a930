// RequestLedger: accounts for every host-carried request of one study instance.
//
// The soak's host carries a request started in one call to the service right after that call
// and delivers the answer in the instance's next call (ResponseReady, ResponseText). The ledger
// knows which request each delivered answer belongs to and classifies the profile requests:
//   drawn       the answer was parsed and the render pass placed drawings;
//   failed      the answer was refused (error text, fault) and nothing was drawn: the next
//               request goes out when due (checked as a stall, below);
//   halted      the answer halted requests, with a log line of flag 1 giving the reason;
//   superseded  the answer came into a full recalculation (which starts the request cycle
//               anew) or the instance was removed while the request was in flight;
//   hidden      the answer came into a suspended call (the study hidden): taken, not drawn;
//   pending     still in flight when the run ended.
// Violations: an answer that leaves the request pending (nobody will ever take it), a halt
// without a logged reason, a clean answer (HTTP 200, no fault) that is not drawn, an answer of a
// profile request taken as the majors history answer, a majors history answer that leaves the
// subgraphs 0-2 unfilled on the bars of its range, two requests started in one call, and a
// stall: inside the request window, with nothing in flight and nothing halted, no profile
// request for longer than the interval plus one call step (counted from the study shown again
// when it was hidden since; a hidden study sends nothing, so it never stalls).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/sim_host.h"
#include "soak/invariants.h"
#include "soak/violations.h"

namespace ostrel::soak {

enum class ProfileOutcome { kDrawn, kFailed, kHalted, kSuperseded, kHidden, kPending };
constexpr int kProfileOutcomes = 6;
const char* profileOutcomeName(ProfileOutcome outcome) noexcept;

struct RequestCounters {
  long calls = 0;
  long suspended_calls = 0;  // calls of the hidden study
  long profile_requests = 0;
  long profile[kProfileOutcomes] = {};
  long history_requests = 0;
  long history_filled = 0;     // clean answers that filled the subgraphs
  long history_not_clean = 0;  // faults, errors: nothing to check
  long history_superseded = 0;
  long conversions = 0;
  long conversion_failures = 0;
  long faults = 0;
  long violations = 0;
};

// An answer as the host hands it to the study, and what the soak knows about it.
struct CarriedAnswer {
  std::string text;   // ResponseText
  bool clean = true;  // HTTP 200 with no fault injected
  std::string fault;  // the injected fault, empty for none
};

// What the ledger needs to know of a call besides its record.
struct CallFacts {
  bool full_recalc = false;
  bool suspended = false;
  bool window_open = false;  // New York time inside the study's request window
  std::int64_t unix_now = 0;
  std::int64_t step_seconds = 0;  // since the instance's previous call
};

class RequestLedger {
 public:
  RequestLedger(std::int32_t interval_seconds, RequestCounters* counters)
      : interval_(interval_seconds), counters_(counters) {}

  void setCounters(RequestCounters* counters) noexcept { counters_ = counters; }

  // Before a call: the script that delivers the answer in flight, if any.
  void beforeCall(const sim::SimHost& chart, sim::CallScript& script);
  void afterCall(sim::SimHost& chart, const sim::CallRecord& call, const CallFacts& facts,
                 const CheckContext& ctx);
  // The request that `call` started, carried to the service: its answer goes to the next call.
  void carried(const sim::RequestRecord& request, CarriedAnswer answer);
  // The instance is removed (or the run ends): a request in flight is superseded (or pending).
  void close(bool run_end);

  bool inFlight() const noexcept { return in_flight_.has_value(); }

 private:
  struct InFlight {
    bool history = false;
    long id = 0;
    CarriedAnswer answer;
    std::int64_t range_start = 0;  // history: Unix seconds of the body
    std::int64_t range_end = 0;
  };

  void profileAnswered(const InFlight& r, sim::SimHost& chart, const sim::CallRecord& call,
                       const CallFacts& facts, const CheckContext& ctx);
  void historyAnswered(const InFlight& r, sim::SimHost& chart, const CheckContext& ctx);
  void checkStall(const sim::SimHost& chart, const CallFacts& facts, const CheckContext& ctx);

  std::int32_t interval_;
  RequestCounters* counters_;
  std::optional<InFlight> in_flight_;
  bool delivered_ = false;  // the answer in flight was handed to the call that just ran
  std::int32_t profile_before_ = 0;
  std::int32_t history_before_ = 0;
  std::int32_t halted_before_ = 0;
  long next_id_ = 1;
  std::int64_t last_profile_start_ = 0;  // Unix seconds; 0: none yet
  std::int64_t first_call_ = 0;
  std::int64_t shown_ = 0;   // Unix seconds of the first call after the study was last hidden
  bool was_hidden_ = false;  // the previous call was suspended
  ReportOnce stall_report_;
};

}  // namespace ostrel::soak

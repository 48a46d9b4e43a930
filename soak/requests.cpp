#include "soak/requests.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <utility>

#include "study/state_keys.h"

namespace ostrel::soak {

namespace {

constexpr std::int64_t kMicrosPerDay = 86400LL * 1000000LL;
constexpr std::int64_t kDaysTo1970 = 25569;
constexpr double kHistoryCoverage = 0.95;

std::int32_t storedInt(const sim::SimHost& chart, std::int32_t k) {
  const std::int32_t* v = chart.intStore().find(k);
  return v != nullptr ? *v : 0;
}

bool isHistory(const sim::RequestRecord& r) { return r.url.find("/hist/") != std::string::npos; }

bool startedHistory(const sim::CallRecord& call) {
  for (const sim::RequestRecord& r : call.requests) {
    if (r.started && isHistory(r)) return true;
  }
  return false;
}

bool loggedFailure(const sim::CallRecord& call) {
  for (const sim::LogEntry& e : call.log) {
    if (e.flag != 0) return true;
  }
  return false;
}

std::string firstLine(const sim::CallRecord& call) {
  return call.log.empty() ? std::string("nothing logged") : "log \"" + call.log[0].text + "\"";
}

// The Unix second of a host date-time, through the host's own zone conversion.
std::int64_t unixOf(sim::SimHost& chart, DateTime host_time) {
  StudyHost& h = chart.host();
  const DateTime utc = h.Ops.HostTimeToZone(&h, host_time, "UTC+00");
  return (utc - kDaysTo1970 * kMicrosPerDay) / 1000000LL;
}

}  // namespace

const char* profileOutcomeName(ProfileOutcome outcome) noexcept {
  switch (outcome) {
    case ProfileOutcome::kDrawn: return "drawn";
    case ProfileOutcome::kFailed: return "failed";
    case ProfileOutcome::kHalted: return "halted";
    case ProfileOutcome::kSuperseded: return "superseded";
    case ProfileOutcome::kHidden: return "hidden";
    case ProfileOutcome::kPending: return "pending";
  }
  return "?";
}

void RequestLedger::beforeCall(const sim::SimHost& chart, sim::CallScript& script) {
  profile_before_ = storedInt(chart, key::profile_state);
  history_before_ = storedInt(chart, key::history_state);
  halted_before_ = storedInt(chart, key::requests_halted);
  delivered_ = in_flight_.has_value();
  if (delivered_) {
    script.response_ready = true;
    script.response_text = in_flight_->answer.text;
  }
}

void RequestLedger::afterCall(sim::SimHost& chart, const sim::CallRecord& call,
                              const CallFacts& facts, const CheckContext& ctx) {
  const std::int64_t unix_now = facts.unix_now;
  if (first_call_ == 0) first_call_ = unix_now;
  ++counters_->calls;
  if (facts.suspended) ++counters_->suspended_calls;
  if (was_hidden_ && !facts.suspended) shown_ = unix_now;
  was_hidden_ = facts.suspended;
  if (delivered_) {
    const InFlight r = std::move(*in_flight_);
    in_flight_.reset();
    delivered_ = false;
    if (r.history) {
      historyAnswered(r, chart, ctx);
    } else {
      profileAnswered(r, chart, call, facts, ctx);
    }
  }
  int started = 0;
  for (const sim::RequestRecord& r : call.requests) started += r.started ? 1 : 0;
  if (started > 1) {
    ctx.report(std::to_string(started) + " host-carried requests started in one call");
  }
  for (const sim::RequestRecord& r : call.requests) {
    if (r.started && !isHistory(r)) last_profile_start_ = unix_now;
  }
  checkStall(chart, facts, ctx);
}

void RequestLedger::profileAnswered(const InFlight& r, sim::SimHost& chart,
                                    const sim::CallRecord& call, const CallFacts& facts,
                                    const CheckContext& ctx) {
  const std::int32_t profile = storedInt(chart, key::profile_state);
  const std::int32_t history = storedInt(chart, key::history_state);
  const std::int32_t halted = storedInt(chart, key::requests_halted);
  const std::string id = "profile request #" + std::to_string(r.id);
  ProfileOutcome outcome = ProfileOutcome::kFailed;
  if (startedHistory(call) && history == Done) {
    // The history request went out in this very call, so the answer it took was this one.
    ctx.report("the answer to " + id +
               " was taken as the majors history answer of the request started in the same "
               "call; the history's own answer comes next and is dropped");
    outcome = ProfileOutcome::kSuperseded;
  } else if (facts.suspended) {
    // Nothing is drawn while hidden, but the answer must be taken: the host hands it over once.
    outcome = ProfileOutcome::kHidden;
    if (profile == Pending) {
      ctx.report("the answer to " + id +
                 " came while the study was hidden and was not taken: the request stays pending");
    }
  } else if (halted != 0 && halted_before_ == 0) {
    outcome = ProfileOutcome::kHalted;
    if (!loggedFailure(call)) ctx.report(id + " halted requests without a logged reason");
  } else if (!call.placed.empty()) {
    outcome = ProfileOutcome::kDrawn;
  } else if (profile == Pending) {
    ctx.report("the answer to " + id + " was delivered but not taken: the request stays pending");
  } else if (facts.full_recalc) {
    outcome = ProfileOutcome::kSuperseded;
  } else if (r.answer.clean && halted == 0) {
    ctx.report("a clean answer to " + id + " was not drawn (" + firstLine(call) + ")");
  }
  ++counters_->profile[static_cast<int>(outcome)];
}

void RequestLedger::historyAnswered(const InFlight& r, sim::SimHost& chart,
                                    const CheckContext& ctx) {
  if (storedInt(chart, key::history_state) == Pending) {
    ctx.report("the majors history answer was delivered but not taken: the request stays pending");
    return;
  }
  if (!r.answer.clean) {
    ++counters_->history_not_clean;
    return;
  }
  // Every session minute of the range has a point; each lands in the bar it falls in.
  long expected = 0;
  long filled[3] = {0, 0, 0};
  const std::vector<DateTime>& bars = chart.barTimes();
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const std::int64_t t = unixOf(chart, bars[i]);
    if (t < r.range_start || t > r.range_end - 60) continue;
    ++expected;
    for (int k = 0; k < 3; ++k) {
      const Subgraph& sg = chart.subgraph(k);
      if (sg.values[i] != 0.0f) ++filled[k];
    }
  }
  for (int k = 0; k < 3; ++k) {
    if (expected > 0 && static_cast<double>(filled[k]) < kHistoryCoverage * expected) {
      ctx.report("after the majors history answer subgraph " + std::to_string(k) + " holds " +
                 std::to_string(filled[k]) + " of the " + std::to_string(expected) +
                 " bars of its range");
      return;
    }
  }
  ++counters_->history_filled;
}

void RequestLedger::carried(const sim::RequestRecord& request, CarriedAnswer answer) {
  InFlight r;
  r.history = isHistory(request);
  r.id = next_id_++;
  r.answer = std::move(answer);
  if (r.history) {
    ++counters_->history_requests;
    long long start = 0;
    long long end = 0;
    if (request.body &&
        std::sscanf(request.body->c_str(), "{\"start\": %lld, \"end\": %lld}", &start, &end) == 2) {
      r.range_start = start;
      r.range_end = end;
    }
  } else {
    ++counters_->profile_requests;
  }
  in_flight_ = std::move(r);
}

void RequestLedger::close(bool run_end) {
  if (!in_flight_) return;
  if (!in_flight_->history) {
    ++counters_->profile[static_cast<int>(run_end ? ProfileOutcome::kPending
                                                  : ProfileOutcome::kSuperseded)];
  } else {
    ++counters_->history_superseded;
  }
  in_flight_.reset();
}

void RequestLedger::checkStall(const sim::SimHost& chart, const CallFacts& facts,
                               const CheckContext& ctx) {
  if (!facts.window_open || facts.suspended || storedInt(chart, key::requests_halted) != 0 ||
      storedInt(chart, key::profile_state) == Pending ||
      storedInt(chart, key::history_state) == Pending) {
    stall_report_.clear();
    return;
  }
  const std::int64_t since = std::max({last_profile_start_, first_call_, shown_});
  if (facts.unix_now - since <= interval_ + facts.step_seconds) {
    stall_report_.clear();
    return;
  }
  char text[160];
  std::snprintf(text, sizeof text,
                "profile requests stalled: none started since Unix second %" PRId64
                " although the window is open and nothing is in flight or halted",
                since);
  stall_report_.report(ctx, text);
}

}  // namespace ostrel::soak

// StudyFixture: the study loaded into a simulated host as a trader would have it: defaults call
// done, an API key and the SPX ticker entered, a one-minute chart of 2026-04-14 (New York), and
// helpers that drive it through the request cycle by answering its requests.
//
// The benchmarks time the study through the host's own operations; `shimHostOps` lets a
// measurement charge the study only for its own heap allocations by pausing the allocation
// counter inside every host operation (the simulated host records each call it serves).
#pragma once

#include <cstdint>
#include <string>

#include "host/study_host.h"
#include "sim/sim_host.h"

namespace ostrel::bench {

constexpr std::int64_t kMicrosPerMinute = 60 * sim::kMicrosPerSecond;

// 2026-04-14 (a Tuesday) at hh:mm:ss New York, the host's zone.
DateTime sessionTime(int hour, int minute, int second);
// Unix seconds of the same wall-clock time (New York is UTC-4 on that day).
std::int64_t sessionUnixSeconds(int hour, int minute, int second);

class StudyFixture {
 public:
  // `bar_count` one-minute bars from 09:30.
  explicit StudyFixture(std::int32_t bar_count = 391);

  sim::SimHost& sim() noexcept { return sim_; }
  StudyHost& host() noexcept { return sim_.host(); }

  // One call at `time`; answers the request the previous call started (if any) with the
  // history answer or `profile_answer`. Returns what the study did.
  // `function` stands in for the study function (a wrapper that measures it, for example).
  const sim::CallRecord& call(DateTime time, const std::string& profile_answer,
                              bool full_recalc = false, sim::StudyFunction function = nullptr);
  bool profilePending() const noexcept { return pending_ == Pending::kProfile; }

  // Full recalculation at 10:00:00, then calls one second apart until a GEX answer was drawn;
  // leaves CurrentTime one second after that call (window open, next request not yet due).
  // False when the study did not get there.
  bool reachIdle(const std::string& profile_answer);

 private:
  enum class Pending { kNone, kHistory, kProfile };

  sim::SimHost sim_;
  Pending pending_ = Pending::kNone;
  std::string history_answer_;
};

// Replaces every operation of `host` by one that pauses the allocation counter around the
// simulated host's own work; `unshimHostOps` restores the simulated host's operations.
void shimHostOps(StudyHost& host) noexcept;
void unshimHostOps(StudyHost& host) noexcept;

}  // namespace ostrel::bench

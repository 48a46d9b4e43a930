// Running out of memory in each step of the scheduler, driven through whole study calls: every
// allocation of the call under test is failed in turn, on a fresh chart each time. Whatever
// failed, the call says so in one log line (flag 1), leaves no request waiting for an answer
// that will not come, keeps every drawing of the study recorded, and the calls after it (with
// memory back) take the day to the same place as a call that never ran out.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "sim/allocation_faults.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"
#include "study/state_keys.h"
#include "tests/study/out_of_memory_support.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::allDrawingsRecorded;
using test::answer;
using test::at;
using test::kSecond;
using test::outOfMemoryLines;

const char* const kProfile = test::kTwoStrikeProfile;
const char* const kHistory = test::kOneHistoryPoint;
const std::int64_t kStart = at(2026, 3, 10, 10, 0);

struct Chart {
  sim::SimHost sim;
  std::int64_t time = kStart;

  Chart() {
    sim.setBars(at(2026, 3, 10, 9, 30), test::kMinute, 390);
    sim.runDefaults(&test::study);
  }
  ~Chart() { sim.releaseStudy(&test::study); }

  std::int32_t stored(std::int32_t k) const {
    const auto& v = sim.storedInts().values;
    const auto it = v.find(k);
    return it == v.end() ? 0 : it->second;
  }
  const sim::CallRecord& call(const sim::CallScript& script, bool full_recalc = false) {
    sim.host().IsFullRecalc = full_recalc ? 1 : 0;
    sim.host().CurrentTime = sim.host().ClockTime = time;
    sim.host().CurrentBarIndex = sim.host().BarCount - 1;
    const sim::CallRecord& rec = sim.runCall(&test::study, script);
    sim.host().IsFullRecalc = 0;
    return rec;
  }
  // Answers whichever request waits, as the host would.
  sim::CallScript answerPending() const {
    sim::CallScript s;
    if (stored(key::history_state) == Pending) {
      s.response_ready = true;
      s.response_text = kHistory;
    } else if (stored(key::profile_state) == Pending) {
      s.response_ready = true;
      s.response_text = kProfile;
    }
    return s;
  }
};

// The first call with a futures target: the conversion's blocking request and its answer.
sim::CallScript conversionAnswer() {
  sim::CallScript s;
  sim::DirectAnswer a;
  a.body = "{\"multiplier\": 1, \"additive\": 30.5, \"future_contract\": \"ESM6\"}";
  s.conversion = a;
  return s;
}

struct Stage {
  const char* name;
  std::function<void(Chart&)> before;  // calls with memory to spare
  sim::CallScript script;              // the call that runs out
  bool full_recalc;
};

bool started(const sim::CallRecord& rec, bool history) {
  for (const auto& r : rec.requests) {
    if (r.started && (r.url.find("/hist/") != std::string::npos) == history) return true;
  }
  return false;
}

class SchedulerOutOfMemory : public ::testing::TestWithParam<int> {};

const Stage& stage(int i) {
  static const Stage kStages[] = {
      {"first call: records and the profile request", [](Chart&) {}, {}, false},
      {"full recalculation: the history request", [](Chart&) {}, {}, true},
      {"the history answer",
       [](Chart& c) {
         c.call({}, /*full_recalc=*/true);
         c.time += kSecond;
       },
       answer(kHistory), false},
      {"the profile answer and its drawing",
       [](Chart& c) {
         c.call({});
         c.time += kSecond;
       },
       answer(kProfile), false},
      {"the next profile answer over the drawn one",
       [](Chart& c) {
         c.call({});
         c.time += kSecond;
         c.call(answer(kProfile));
         c.time += 5 * kSecond;
         c.call({});
         c.time += kSecond;
       },
       answer(kProfile), false},
      {"the futures conversion", [](Chart& c) { c.sim.input(in::kFuturesTarget).setText("ES"); },
       conversionAnswer(), false},
  };
  return kStages[i];
}

TEST_P(SchedulerOutOfMemory, EveryAllocationOfTheCall) {
  if (!sim::allocationHooksInstalled()) GTEST_SKIP() << "no allocation hooks in this build";
  const Stage& s = stage(GetParam());
  std::uint64_t total = 0;
  {
    Chart c;
    s.before(c);
    sim::startAllocationSession(0);
    c.call(s.script, s.full_recalc);
    total = sim::endAllocationSession().allocations;
  }
  ASSERT_GT(total, 0u) << s.name;
  for (std::uint64_t n = 1; n <= total; ++n) {
    Chart c;
    s.before(c);
    sim::startAllocationSession(n);
    const sim::CallRecord& rec = c.call(s.script, s.full_recalc);
    const sim::AllocationReport report = sim::endAllocationSession();
    ASSERT_TRUE(report.failed) << s.name << ", N " << n;
    const std::string at_n = std::string(s.name) + ", N " + std::to_string(n);
    EXPECT_EQ(outOfMemoryLines(rec), 1) << at_n << "\n" << test::logOf(rec);
    EXPECT_TRUE(c.stored(key::profile_state) != Pending || started(rec, false)) << at_n;
    EXPECT_TRUE(c.stored(key::history_state) != Pending || started(rec, true)) << at_n;
    EXPECT_TRUE(allDrawingsRecorded(c.sim)) << at_n;
    EXPECT_EQ(c.stored(key::requests_halted), 0) << at_n;
    // The conversion blocks the platform's thread: one request in the call that ran out, and
    // at most one more (when memory ran out before it went out) in the half minute after it.
    EXPECT_LE(rec.conversions.size(), 1u) << at_n;
    std::size_t conversions_after = 0;
    // Memory is back: within a few intervals the history is in and the profile drawn.
    bool drawn = false;
    for (int i = 0; i < 6; ++i) {
      c.time += 5 * kSecond;
      const sim::CallRecord& next = c.call(c.answerPending());
      EXPECT_EQ(outOfMemoryLines(next), 0) << at_n;
      if (!next.placed.empty()) drawn = true;
      conversions_after += next.conversions.size();
    }
    EXPECT_LE(conversions_after, 1u) << at_n;
    EXPECT_TRUE(drawn) << at_n << ": no profile drawn after memory came back";
    EXPECT_TRUE(allDrawingsRecorded(c.sim)) << at_n;
    if (s.full_recalc || GetParam() == 2) {
      EXPECT_EQ(c.stored(key::history_state), Done) << at_n;
      EXPECT_EQ(c.sim.subgraph(0).values[15], 5600.0f) << at_n << ": the history was lost";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Stages, SchedulerOutOfMemory, ::testing::Range(0, 6));

}  // namespace
}  // namespace ostrel

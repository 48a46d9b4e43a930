// Running out of memory in the binding's own texts (the platform's SCString and our copies of
// its texts), through the platform entry: every allocation of the call under test is failed in
// turn, on a fresh chart each time. The call says so in one log line (flag 1); no request goes
// out with a text missing and none is left waiting; every drawing stays recorded; the defaults
// call, which the platform makes once, declares every input; and with memory back the day goes
// on (an update the binding had to skip is followed by a full recalculation).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform_call.h"
#include "sim/allocation_faults.h"
#include "sim/platform_record.h"
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

struct PlatformChart {
  sim::SimHost sim;
  sim::PlatformRecord platform{sim, &platform::runPlatformCall};
  std::int64_t time = at(2026, 3, 10, 10, 0);

  PlatformChart() { sim.setBars(at(2026, 3, 10, 9, 30), test::kMinute, 390); }

  std::int32_t stored(std::int32_t k) const {
    const auto& v = sim.storedInts().values;
    const auto it = v.find(k);
    return it == v.end() ? 0 : it->second;
  }
  const sim::CallRecord& defaults() {
    return sim.runDefaults(sim::PlatformRecord::studyFunction());
  }
  const sim::CallRecord& call(const sim::CallScript& script, bool full_recalc = false) {
    sim.host().IsFullRecalc = full_recalc ? 1 : 0;
    sim.host().CurrentTime = sim.host().ClockTime = time;
    const sim::CallRecord& rec = sim.runCall(sim::PlatformRecord::studyFunction(), script);
    sim.host().IsFullRecalc = 0;
    return rec;
  }
  sim::CallScript answerPending() const {
    sim::CallScript s;
    if (stored(key::history_state) == Pending || stored(key::profile_state) == Pending) {
      s.response_ready = true;
      s.response_text = stored(key::history_state) == Pending ? kHistory : kProfile;
    }
    return s;
  }
};

struct Stage {
  const char* name;
  std::function<void(PlatformChart&)> before;
  std::function<const sim::CallRecord&(PlatformChart&)> run;  // the call that runs out
};

const Stage& stage(int i) {
  static const Stage kStages[] = {
      {"the defaults call", [](PlatformChart&) {},
       [](PlatformChart& c) -> const sim::CallRecord& { return c.defaults(); }},
      {"first update: inputs read, profile request", [](PlatformChart& c) { c.defaults(); },
       [](PlatformChart& c) -> const sim::CallRecord& { return c.call({}); }},
      {"full recalculation: the history request", [](PlatformChart& c) { c.defaults(); },
       [](PlatformChart& c) -> const sim::CallRecord& { return c.call({}, true); }},
      {"the profile answer and its drawing (labels, copies to other charts)",
       [](PlatformChart& c) {
         c.defaults();
         c.sim.input(in::kAllowCopy).setYesNo(true);
         c.call({});
         c.time += kSecond;
       },
       [](PlatformChart& c) -> const sim::CallRecord& { return c.call(answer(kProfile)); }},
      {"an update after the API key changed",
       [](PlatformChart& c) {
         c.defaults();
         c.call({});
         c.time += kSecond;
         c.call(answer(kProfile));
         c.time += 5 * kSecond;
         c.sim.input(in::kApiKey).setText("a-new-and-much-longer-api-key-for-the-service");
       },
       [](PlatformChart& c) -> const sim::CallRecord& { return c.call({}); }},
      {"a removal call after the API key changed",
       [](PlatformChart& c) {
         c.defaults();
         c.call({});
         c.time += kSecond;
         c.call(answer(kProfile));
         c.time += 5 * kSecond;
         c.sim.input(in::kApiKey).setText("a-new-and-much-longer-api-key-for-the-service");
       },
       [](PlatformChart& c) -> const sim::CallRecord& {
         c.sim.host().IsRemovalCall = 1;
         const sim::CallRecord& rec = c.call({});
         c.sim.host().IsRemovalCall = 0;
         return rec;
       }},
  };
  return kStages[i];
}

class BindingOutOfMemory : public ::testing::TestWithParam<int> {};

TEST_P(BindingOutOfMemory, EveryAllocationOfTheCall) {
  if (!sim::allocationHooksInstalled()) GTEST_SKIP() << "no allocation hooks in this build";
  const Stage& s = stage(GetParam());
  std::uint64_t total = 0;
  {
    PlatformChart c;
    s.before(c);
    sim::startAllocationSession(0);
    s.run(c);
    total = sim::endAllocationSession().allocations;
  }
  ASSERT_GT(total, 0u) << s.name;
  for (std::uint64_t n = 1; n <= total; ++n) {
    PlatformChart c;
    s.before(c);
    sim::startAllocationSession(n);
    const sim::CallRecord& rec = s.run(c);
    ASSERT_TRUE(sim::endAllocationSession().failed) << s.name << ", N " << n;
    const std::string at_n = std::string(s.name) + ", N " + std::to_string(n);
    EXPECT_EQ(outOfMemoryLines(rec), 1) << at_n << "\n" << test::logOf(rec);
    for (const auto& r : rec.requests) {
      EXPECT_NE(r.url, "") << at_n;
      for (const auto& h : r.headers) EXPECT_NE(h.second, "") << at_n << ": " << h.first;
    }
    EXPECT_TRUE(allDrawingsRecorded(c.sim)) << at_n;
    if (GetParam() == 0) {
      // Every input is declared with its type: a scenario's values can be written.
      for (std::int32_t i = 0; i < in::kInputCount; ++i) {
        EXPECT_NE(c.sim.input(i).type, InputType::kNone) << at_n << ", input " << i;
      }
      c.sim.input(in::kApiKey).setText("key");
    }
    bool drawn = false;
    for (int i = 0; i < 6; ++i) {
      c.time += 5 * kSecond;
      const sim::CallRecord& next = c.call(c.answerPending());
      EXPECT_EQ(outOfMemoryLines(next), 0) << at_n << "\n" << test::logOf(next);
      if (!next.placed.empty()) drawn = true;
    }
    EXPECT_TRUE(drawn) << at_n << ": no profile drawn after memory came back";
    EXPECT_TRUE(allDrawingsRecorded(c.sim)) << at_n;
    EXPECT_NE(c.stored(key::history_state), Pending) << at_n;
  }
}

INSTANTIATE_TEST_SUITE_P(Stages, BindingOutOfMemory, ::testing::Range(0, 6));

}  // namespace
}  // namespace ostrel

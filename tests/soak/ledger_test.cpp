// The request ledger accounts for every profile request and checks the majors history's fill,
// driven through whole study calls with the answers the soak's host would hand over.
#include "soak/requests.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/soak/check_fixture.h"

namespace ostrel {
namespace {

using test::kSecond;

const char* const kProfile = test::kTwoStrikeProfile;
constexpr std::int64_t kOpen = 1773149400;  // 2026-03-10 09:30 New York, Unix seconds

// One point per minute from 09:30 for `minutes` minutes.
std::string history(int minutes) {
  std::string s = "[";
  for (int m = 0; m < minutes; ++m) {
    if (m > 0) s += ", ";
    s += "{\"timestamp\": " + std::to_string(kOpen + 60 * m) +
         ", \"major_call_gamma\": 5600, \"major_put_gamma\": 5400, \"zero_gamma\": 5500}";
  }
  return s + "]";
}

class SoakLedger : public test::SoakCheckTest {
 protected:
  // One call at t0 + `second` s: the ledger hands over the answer in flight, and the request
  // the call starts is answered with `next` (clean unless `fault` names one).
  const sim::CallRecord& step(int second, const std::string& next = std::string(),
                              bool recalc = false, const char* fault = "", bool suspended = false) {
    sim::CallScript script;
    ledger.beforeCall(sim, script);
    const std::int64_t t = t0 + second * kSecond;
    sim.host().IsSuspended = suspended ? 1 : 0;
    const sim::CallRecord& rec = recalc ? fullRecalc(t, script) : call(t, script);
    sim.host().IsSuspended = 0;
    soak::CallFacts facts;
    facts.full_recalc = recalc;
    facts.suspended = suspended;
    facts.window_open = true;
    facts.unix_now = 1773151200 + second;
    facts.step_seconds = 1;
    ledger.afterCall(sim, rec, facts, ctx);
    for (const sim::RequestRecord& r : rec.requests) {
      if (r.started) ledger.carried(r, soak::CarriedAnswer{next, *fault == '\0', fault});
    }
    return rec;
  }
  long outcome(soak::ProfileOutcome o) const { return counters.profile[static_cast<int>(o)]; }

  soak::RequestCounters counters;
  soak::RequestLedger ledger{5, &counters};
};

TEST_F(SoakLedger, EveryProfileRequestIsAccountedFor) {
  step(0, kProfile);
  step(1);  // drawn
  step(5, "{\"error\": \"busy\"}", false, "broken");
  step(6);  // refused, with a fault: failed
  step(10, "{\"error\": \"Unknown ticker symbol: SPX\"}");
  step(11);                                  // halted, with the reason logged
  step(20, history(30), /*recalc=*/true);    // the halt ends; the history goes out
  step(21, kProfile);                        // the history's answer; a profile request
  step(22, std::string(), /*recalc=*/true);  // its answer comes into a recalculation
  ledger.close(/*run_end=*/true);            // the history of that recalculation in flight
  EXPECT_EQ(violations.count(), 0) << reported();
  EXPECT_EQ(counters.profile_requests, 4);
  EXPECT_EQ(outcome(soak::ProfileOutcome::kDrawn), 1);
  EXPECT_EQ(outcome(soak::ProfileOutcome::kFailed), 1);
  EXPECT_EQ(outcome(soak::ProfileOutcome::kHalted), 1);
  EXPECT_EQ(outcome(soak::ProfileOutcome::kSuperseded), 1);
  EXPECT_EQ(counters.history_requests, 2);
  EXPECT_EQ(counters.history_filled, 1);
  EXPECT_EQ(counters.history_superseded, 1);
}

TEST_F(SoakLedger, CleanAnswerNotDrawnIsReported) {
  step(0, "{\"error\": \"busy\"}");
  step(1);
  ASSERT_EQ(violations.count(), 1);
  EXPECT_EQ(reported(),
            "a clean answer to profile request #1 was not drawn (log \"Ostrel API Error: "
            "\"busy\". Retrying.\")");
}

TEST_F(SoakLedger, HistoryMustFillTheBarsOfItsRange) {
  step(0, history(2), /*recalc=*/true);  // 09:30 to 10:00, but only two points come
  step(1);
  ASSERT_EQ(violations.count(), 1);
  EXPECT_EQ(reported(),
            "after the majors history answer subgraph 0 holds 2 of the 30 bars of "
            "its range");
  EXPECT_EQ(counters.history_filled, 0);
}

TEST_F(SoakLedger, FaultedHistoryIsNotChecked) {
  step(0, "HTTP_REQUEST_ERROR", /*recalc=*/true, "500");
  step(1);
  EXPECT_EQ(violations.count(), 0);
  EXPECT_EQ(counters.history_not_clean, 1);
}

TEST_F(SoakLedger, AnswersWhileHiddenAreTakenAndRequestsResumeWhenShown) {
  constexpr bool kHidden = true;
  step(0, history(30), /*recalc=*/true);
  step(1, std::string(), false, "", kHidden);  // the history's answer, while hidden
  step(2, std::string(), false, "", kHidden);
  step(3, kProfile);                           // shown: a profile request
  step(4, std::string(), false, "", kHidden);  // ... its answer, while hidden
  for (int s = 5; s < 30; ++s) step(s, std::string(), false, "", kHidden);  // no stall
  step(30, kProfile);  // shown again: the interval has passed, the next request goes out
  const sim::CallRecord& drawn = step(31);
  EXPECT_FALSE(drawn.placed.empty());
  EXPECT_EQ(violations.count(), 0) << reported();
  EXPECT_EQ(counters.history_filled, 1);
  EXPECT_EQ(outcome(soak::ProfileOutcome::kHidden), 1);
  EXPECT_EQ(outcome(soak::ProfileOutcome::kDrawn), 1);
  EXPECT_EQ(counters.suspended_calls, 28);
  EXPECT_EQ(counters.calls, 32);
}

// A study that sends nothing: hidden calls never stall, and once the study is shown again the
// interval counts from then.
TEST_F(SoakLedger, StallsCountFromTheStudyShownAgain) {
  const auto plain = [&](std::int64_t unix_now, bool suspended) {
    sim::CallScript script;
    ledger.beforeCall(sim, script);
    soak::CallFacts facts;
    facts.suspended = suspended;
    facts.window_open = true;
    facts.unix_now = unix_now;
    facts.step_seconds = 1;
    ledger.afterCall(sim, sim.runCall(nullptr, script), facts, ctx);
  };
  plain(100, false);
  for (std::int64_t t = 101; t < 200; ++t) plain(t, true);
  for (std::int64_t t = 200; t <= 206; ++t) plain(t, false);  // the interval and a step
  EXPECT_EQ(violations.count(), 0) << reported();
  plain(207, false);
  ASSERT_EQ(violations.count(), 1);
  EXPECT_EQ(reported(),
            "profile requests stalled: none started since Unix second 200 although the window "
            "is open and nothing is in flight or halted");
}

}  // namespace
}  // namespace ostrel

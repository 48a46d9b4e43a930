// The request ledger accounts for every profile request and checks the majors history's fill,
// driven through whole study calls with the answers the soak's host would hand over.
#include "soak/requests.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;
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

class SoakLedger : public test::StudyTest {
 protected:
  void SetUp() override {
    test::StudyTest::SetUp();
    ctx.violations = &violations;
    ctx.instance = &name;
  }
  // One call at t0 + `second` s: the ledger hands over the answer in flight, and the request
  // the call starts is answered with `next` (clean unless `fault` names one).
  const sim::CallRecord& step(int second, const std::string& next = std::string(),
                              bool recalc = false, const char* fault = "") {
    sim::CallScript script;
    ledger.beforeCall(sim, script);
    const std::int64_t t = t0 + second * kSecond;
    const sim::CallRecord& rec = recalc ? fullRecalc(t, script) : call(t, script);
    ledger.afterCall(sim, rec, recalc, /*window_open=*/true, 1773151200 + second, 1, ctx);
    for (const sim::RequestRecord& r : rec.requests) {
      if (r.started) ledger.carried(r, soak::CarriedAnswer{next, *fault == '\0', fault});
    }
    return rec;
  }
  std::string reported(std::size_t i = 0) const {
    return i < violations.kept().size() ? violations.kept()[i].what : std::string();
  }
  long outcome(soak::ProfileOutcome o) const { return counters.profile[static_cast<int>(o)]; }

  std::int64_t t0 = at(2026, 3, 10, 10, 0);
  std::string name = "chart #1";
  soak::SoakViolations violations;
  soak::CheckContext ctx;
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

}  // namespace
}  // namespace ostrel

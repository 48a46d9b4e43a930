// The soak's invariant checks bite: each broken invariant is reported, once, with its details;
// a study behaving as it should is not.
#include "soak/invariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "soak/requests.h"
#include "study/input_ids.h"
#include "tests/soak/check_fixture.h"

namespace ostrel {
namespace {

using test::kSecond;

const char* const kProfile = test::kTwoStrikeProfile;

// A GEX profile of `strikes` strikes: in mode Both each takes seven drawings, so more than 141
// run the pass beyond slot 999.
std::string bigProfile(int strikes) {
  std::string s =
      "{\"timestamp\": 1773151200, \"ticker\": \"SPX\", \"spot\": 5500, \"zero_gamma\": 5480,"
      " \"major_pos_vol\": 5510, \"major_pos_oi\": 5525, \"major_neg_vol\": 5450,"
      " \"major_neg_oi\": 5400, \"sum_gex_vol\": 1, \"sum_gex_oi\": 1, \"strikes\": [";
  for (int i = 0; i < strikes; ++i) {
    if (i > 0) s += ", ";
    s += "[" + std::to_string(5000 + 5 * i) + ", " + std::to_string(i - strikes / 2) +
         ".5, 2, [1, 2, 3, 4, 5]]";
  }
  return s + "]}";
}

class SoakInvariants : public test::SoakCheckTest {
 protected:
  const sim::CallRecord& checked(const sim::CallRecord& rec, bool recalc = false) {
    drawings.afterCall(sim, rec, recalc, ctx);
    return rec;
  }
  std::int32_t slot(std::int32_t k) { return *sim.intStore().find(k); }

  soak::DrawingInvariant drawings;
};

TEST_F(SoakInvariants, SlotDrawingRemovedBehindTheStudysBackIsReportedOnce) {
  checked(call(t0));
  const sim::CallRecord& drawn = checked(call(t0 + kSecond, answer(kProfile)));
  ASSERT_FALSE(drawn.placed.empty());
  ASSERT_EQ(violations.count(), 0);

  const std::int32_t number = slot(8);
  StudyHost& h = sim.host();
  ASSERT_EQ(h.Ops.RemoveDrawing(&h, h.ChartId, number), 1);  // the user deletes the line
  checked(call(t0 + 2 * kSecond));
  ASSERT_EQ(violations.count(), 1);
  EXPECT_EQ(reported(),
            "slot 8 records drawing " + std::to_string(number) + ", which is not on the chart");
  EXPECT_EQ(violations.kept()[0].instance, "chart #1");
  checked(call(t0 + 3 * kSecond));
  EXPECT_EQ(violations.count(), 1);  // the same problem, not reported again
}

TEST_F(SoakInvariants, UnrecordedDrawingsAreReportedUnlessTheLastPassWentBeyondSlot999) {
  checked(call(t0));
  checked(call(t0 + kSecond, answer(kProfile)));
  const std::int32_t stale = sim.addStaleDrawing(12);  // a bar that no slot records
  checked(call(t0 + 2 * kSecond));
  ASSERT_EQ(violations.count(), 1);
  EXPECT_EQ(reported(), "drawing " + std::to_string(stale) +
                            " (type 12) is on the chart, recorded in no slot and not placed by "
                            "the last pass");
  checked(fullRecalc(t0 + 3 * kSecond), /*recalc=*/true);  // the sweep takes it
  EXPECT_EQ(violations.count(), 1);

  // 150 strikes in mode Both: the drawings past slot 999 stay unrecorded until the next pass.
  const std::string big = bigProfile(150);
  checked(call(t0 + 10 * kSecond));
  checked(call(t0 + 11 * kSecond, answer("[]")));  // the history's answer
  checked(call(t0 + 20 * kSecond));
  const sim::CallRecord& pass = checked(call(t0 + 21 * kSecond, answer(big.c_str())));
  ASSERT_GT(pass.placed.size(), 992u);
  EXPECT_EQ(slot(key::last_drawing_slot), 999);
  checked(call(t0 + 22 * kSecond));
  checked(call(t0 + 31 * kSecond, answer(big.c_str())));
  EXPECT_EQ(violations.count(), 1) << reported(1);
}

TEST_F(SoakInvariants, StoredKeysPremiumsAndLogLines) {
  soak::ReportOnce keys;
  soak::ReportOnce premiums;
  call(t0);
  soak::checkStoredKeys(sim, ctx, keys);
  soak::checkPremiums(sim, ctx, premiums);
  ASSERT_EQ(violations.count(), 0);

  StudyHost& h = sim.host();
  for (std::int32_t k :
       {key::last_profile_request, key::last_conversion_request, key::last_history_request}) {
    h.Ops.StoredTime(&h, k);
  }
  soak::checkStoredKeys(sim, ctx, keys);
  ASSERT_EQ(violations.count(), 0) << reported(0);  // every time key of the state is its own
  h.Ops.SetStoredInt(&h, 5, 1);
  soak::checkStoredKeys(sim, ctx, keys);
  EXPECT_EQ(reported(0), "stored value outside the study state's keys: StoredInt key 5");
  h.Ops.StoredTime(&h, 5);
  soak::checkStoredKeys(sim, ctx, keys);
  EXPECT_EQ(violations.count(), 1);  // the first problem persists: reported once

  // An integer premium is read as the study reads it, not by the float it does not hold.
  sim.input(in::kMultiplicativePremium).setInteger(2);
  soak::checkPremiums(sim, ctx, premiums);
  EXPECT_EQ(violations.count(), 1) << reported(1);
  sim.input(in::kAdditivePremium).double_value = std::nan("");
  soak::checkPremiums(sim, ctx, premiums);
  EXPECT_EQ(reported(1).rfind("premiums not finite", 0), 0u) << reported(1);

  sim::CallRecord rec;
  rec.log.push_back({"Ostrel: key secret-123 refused", 1});
  soak::checkLogLines(rec, "secret-123", ctx);
  EXPECT_EQ(reported(2), "the API key appears in the log line \"Ostrel: key secret-123 refused\"");
}

TEST_F(SoakInvariants, FingerprintSeesAWriteIntoTheChart) {
  call(t0);
  const std::uint64_t before = soak::chartFingerprint(sim);
  EXPECT_EQ(soak::chartFingerprint(sim), before);
  StudyHost& h = sim.host();
  h.Ops.SetStoredInt(&h, key::requests_halted, 1);
  EXPECT_NE(soak::chartFingerprint(sim), before);
}

TEST_F(SoakInvariants, LedgerReportsAnAnswerLeftPendingAndAStall) {
  soak::RequestCounters counters;
  soak::RequestLedger ledger(5, &counters);
  StudyHost& h = sim.host();
  h.Ops.SetStoredInt(&h, key::profile_state, Pending);
  sim::RequestRecord request;
  request.url = "https://host/v2/sierra/SPX/classic/zero";
  request.started = true;
  ledger.carried(request, soak::CarriedAnswer{"{}", true, ""});

  sim::CallScript script;
  ledger.beforeCall(sim, script);
  ASSERT_TRUE(script.response_ready);
  const sim::CallRecord& rec = sim.runCall(nullptr, script);  // nobody takes the answer
  const auto facts = [](bool window_open, std::int64_t unix_now) {
    soak::CallFacts f;
    f.window_open = window_open;
    f.unix_now = unix_now;
    f.step_seconds = 1;
    return f;
  };
  ledger.afterCall(sim, rec, facts(false, 101), ctx);
  ASSERT_EQ(violations.count(), 1);
  EXPECT_EQ(reported(),
            "the answer to profile request #1 was delivered but not taken: the request "
            "stays pending");

  h.Ops.SetStoredInt(&h, key::profile_state, Done);
  ledger.beforeCall(sim, script);
  ledger.afterCall(sim, sim.runCall(nullptr), facts(true, 105), ctx);  // within the interval
  EXPECT_EQ(violations.count(), 1);
  ledger.beforeCall(sim, script);
  ledger.afterCall(sim, sim.runCall(nullptr), facts(true, 112), ctx);
  ASSERT_EQ(violations.count(), 2);
  EXPECT_EQ(reported(1).rfind("profile requests stalled", 0), 0u) << reported(1);
}

}  // namespace
}  // namespace ostrel

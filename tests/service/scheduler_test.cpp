// The scheduling step, driven through whole study calls on the simulated host.
#include "service/scheduler.h"

#include <gtest/gtest.h>

#include <string>

#include "service/profile_records.h"
#include "study/input_ids.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;
using test::kSecond;
using test::logOf;

const char* const kProfile =
    "{\"timestamp\": 1773151200, \"ticker\": \"SPX\", \"spot\": 5492.25, \"zero_gamma\": 5480.5,"
    " \"major_pos_vol\": 5510, \"major_pos_oi\": 5525, \"major_neg_vol\": 5450,"
    " \"major_neg_oi\": 5400, \"sum_gex_vol\": 1843.75, \"sum_gex_oi\": -512.5,"
    " \"strikes\": [[5450, -310.5, -120.25, [-300, -290, -280, -250, -200]],"
    " [5510, 420, 210.75, [400, 380, 350, 320, 260]]],"
    " \"max_priors\": [[5510, 20], [5510, 40], [5450, -30.5], [5510, 100], [5510, 160]]}";

bool isHistory(const sim::RequestRecord& r) { return r.url.find("/hist/") != std::string::npos; }

class Scheduler : public test::StudyTest {
 protected:
  std::int64_t t0 = at(2026, 3, 10, 10, 0);
};

TEST_F(Scheduler, FirstCallCreatesRecordsAndRequestsTheProfile) {
  const sim::CallRecord& rec = call(t0);
  ASSERT_EQ(rec.requests.size(), 1u);
  EXPECT_FALSE(isHistory(rec.requests[0]));
  EXPECT_NE(pointer(key::p_gex_data), nullptr);
  EXPECT_NE(pointer(key::p_greek_data), nullptr);
  EXPECT_EQ(stored(key::profile_state), Pending);
  EXPECT_EQ(stored(key::history_state), 0);  // asked for only after a full recalculation
  EXPECT_EQ(storedTime(key::last_profile_request), t0);
}

TEST_F(Scheduler, TradingDayCycle) {
  // Full recalculation: the history goes out first, the profile waits for it.
  const sim::CallRecord& recalc = fullRecalc(t0);
  ASSERT_EQ(recalc.requests.size(), 1u);
  EXPECT_TRUE(isHistory(recalc.requests[0]));
  EXPECT_EQ(*recalc.requests[0].body, "{\"start\": 1773149400, \"end\": 1773151200}");
  // History answer; the profile request goes out in the same call.
  const sim::CallRecord& hist = call(t0 + kSecond, answer("[]"));
  EXPECT_EQ(stored(key::history_state), Done);
  ASSERT_EQ(hist.requests.size(), 1u);
  EXPECT_FALSE(isHistory(hist.requests[0]));
  // Profile answer: parsed and rendered at the current bar (30 = 10:00).
  sim.host().RecalcFromBar = 5;
  const sim::CallRecord& drawn = call(t0 + 2 * kSecond, answer(kProfile));
  EXPECT_EQ(logOf(drawn), "");
  EXPECT_EQ(sim.host().RecalcFromBar, 0);
  EXPECT_FALSE(drawn.placed.empty());
  const std::int32_t bar = sim.host().BarCount - 1;
  EXPECT_EQ(sim.subgraph(0).value(bar), 5510.0f);
  EXPECT_EQ(sim.subgraph(8).value(bar), -512.5f);
  EXPECT_EQ(stored(key::profile_state), Done);
  // Within the interval nothing; at the interval the next request.
  EXPECT_TRUE(call(t0 + 6 * kSecond - 1).requests.empty());
  EXPECT_EQ(call(t0 + 6 * kSecond).requests.size(), 1u);
  // The history is asked for once per full recalculation.
  call(t0 + 7 * kSecond, answer(kProfile));
  EXPECT_EQ(call(t0 + 20 * kSecond).requests.size(), 1u);
}

TEST_F(Scheduler, IntervalCountsFromTheStartOfTheLastRequest) {
  call(t0);
  call(t0 + 4 * kSecond, answer("EMPTY_RESPONSE"));
  EXPECT_TRUE(call(t0 + 5 * kSecond - 1).requests.empty());
  EXPECT_EQ(call(t0 + 5 * kSecond).requests.size(), 1u);
  // While a request is pending nothing else goes out, however long it takes.
  EXPECT_TRUE(call(t0 + 60 * kSecond).requests.empty());
}

// The chart's clock going back (a zone further west, a fall-back switch) leaves the last
// request in the future; the next request goes out at once instead of hours later.
TEST_F(Scheduler, ClockMovingBackMakesTheRequestDue) {
  const std::int64_t t = at(2026, 3, 10, 14, 0);
  call(t);
  call(t + kSecond, answer("EMPTY_RESPONSE"));
  const std::int64_t back = t - 3 * test::kHour;
  EXPECT_EQ(call(back).requests.size(), 1u);
  EXPECT_EQ(storedTime(key::last_profile_request), back);
  call(back + kSecond, answer("EMPTY_RESPONSE"));
  EXPECT_TRUE(call(back + 4 * kSecond).requests.empty());  // the interval counts from there
  EXPECT_EQ(call(back + 5 * kSecond).requests.size(), 1u);
}

// A request whose answer never comes counts as failed after ten minutes, from its start or from
// the moment the clock went back before it; a call that brings an answer is never the one.
TEST_F(Scheduler, PendingProfileRequestExpiresAfterTenMinutes) {
  const char* const expired = "0:Ostrel: No answer to the profile request after 10 minutes.\n";
  call(t0);
  EXPECT_TRUE(call(t0 + 10 * test::kMinute - 1).requests.empty());
  const sim::CallRecord& late = call(t0 + 10 * test::kMinute);
  EXPECT_EQ(logOf(late), expired);
  EXPECT_EQ(late.requests.size(), 1u);  // sent again in the same call
  EXPECT_EQ(stored(key::profile_state), Pending);

  const std::int64_t t1 = t0 + 20 * test::kMinute;
  const sim::CallRecord& answered = call(t1, answer(kProfile));
  EXPECT_FALSE(answered.placed.empty());  // ten minutes on, but the answer is taken
  EXPECT_EQ(logOf(answered), "");

  const std::int64_t t2 = t1 + 4 * test::kHour;  // 14:20, so 11:20 after going back
  call(t2);
  const std::int64_t back = t2 - 3 * test::kHour;
  EXPECT_TRUE(call(back).requests.empty());  // pending; counts from here now
  EXPECT_TRUE(call(back + 10 * test::kMinute - 1).requests.empty());
  EXPECT_EQ(logOf(call(back + 10 * test::kMinute)), expired);
}

TEST_F(Scheduler, PendingHistoryRequestExpiresAfterTenMinutes) {
  fullRecalc(t0);
  ASSERT_EQ(stored(key::history_state), Pending);
  EXPECT_EQ(storedTime(key::last_history_request), t0);
  EXPECT_TRUE(call(t0 + 9 * test::kMinute).requests.empty());
  const sim::CallRecord& late = call(t0 + 10 * test::kMinute);
  EXPECT_EQ(logOf(late), "0:Ostrel: No answer to the Majors history request after 10 minutes.\n");
  EXPECT_EQ(stored(key::history_state), Done);
  ASSERT_EQ(late.requests.size(), 1u);
  EXPECT_FALSE(isHistory(late.requests[0]));
}

// The host delivers each answer once; one that comes in a suspended call must not leave its
// request pending.
TEST_F(Scheduler, AnswerInASuspendedCallIsTakenOrDropped) {
  const auto suspended = [&](std::int64_t t, const char* text) -> const sim::CallRecord& {
    sim.host().IsSuspended = 1;
    const sim::CallRecord& rec = call(t, answer(text));
    sim.host().IsSuspended = 0;
    return rec;
  };
  // A profile answer is dropped; polling goes on at the interval.
  call(t0);
  const sim::CallRecord& dropped = suspended(t0 + kSecond, kProfile);
  EXPECT_TRUE(dropped.placed.empty());
  EXPECT_EQ(logOf(dropped), "");
  EXPECT_EQ(stored(key::profile_state), Done);
  EXPECT_EQ(call(t0 + 5 * kSecond).requests.size(), 1u);

  // A history answer is taken in: it writes subgraph values only. 13:35 UTC is bar 5.
  fullRecalc(t0 + 10 * kSecond);
  ASSERT_EQ(stored(key::history_state), Pending);
  suspended(t0 + 11 * kSecond, "[{\"timestamp\": 1773149700, \"zero_gamma\": 5480.5}]");
  EXPECT_EQ(stored(key::history_state), Done);
  EXPECT_EQ(sim.subgraph(2).value(5), 5480.5f);
  EXPECT_EQ(call(t0 + 12 * kSecond).requests.size(), 1u);
}

TEST_F(Scheduler, HugeIntervalAndZeroInterval) {
  sim.input(in::kRequestInterval).setInteger(2147483647);
  call(t0);
  call(t0 + kSecond, answer("EMPTY_RESPONSE"));
  EXPECT_TRUE(call(t0 + 10 * test::kHour).requests.empty());
  sim.input(in::kRequestInterval).setInteger(0);
  EXPECT_EQ(call(t0 + 10 * test::kHour + kSecond).requests.size(), 1u);
  EXPECT_TRUE(call(t0 + 10 * test::kHour + kSecond).requests.empty());  // pending
  call(t0 + 10 * test::kHour + kSecond, answer("EMPTY_RESPONSE"));
  EXPECT_EQ(call(t0 + 10 * test::kHour + kSecond).requests.size(), 1u);
}

TEST_F(Scheduler, RefusedRequestIsRetriedAfterTheInterval) {
  sim::CallScript refuse;
  refuse.start_request_fails = true;
  const sim::CallRecord& rec = call(t0, refuse);
  EXPECT_EQ(logOf(rec), "1:Error making HTTP Request.\n");
  EXPECT_EQ(stored(key::profile_state), Failed);
  EXPECT_TRUE(call(t0 + 4 * kSecond).requests.empty());
  EXPECT_EQ(call(t0 + 5 * kSecond).requests.size(), 1u);
}

TEST_F(Scheduler, NoHistoryBeforeTheSessionAndClosedWindowSendsNothing) {
  const sim::CallRecord& rec = fullRecalc(at(2026, 3, 10, 8, 0));
  EXPECT_TRUE(rec.requests.empty());
  EXPECT_EQ(stored(key::history_state), Done);
  EXPECT_TRUE(call(at(2026, 3, 10, 9, 29, 59)).requests.empty());
  EXPECT_EQ(call(at(2026, 3, 10, 9, 30)).requests.size(), 1u);
}

TEST_F(Scheduler, WeekendHistoryIsFridaysSession) {
  const sim::CallRecord& rec = fullRecalc(at(2026, 3, 14, 11, 0));  // Saturday
  ASSERT_EQ(rec.requests.size(), 1u);
  EXPECT_EQ(*rec.requests[0].body, "{\"start\": 1773408600, \"end\": 1773432000}");
}

TEST_F(Scheduler, AnswerBelongsToWhicheverRequestIsPending) {
  call(t0);  // profile pending, no history asked for
  const sim::CallRecord& rec = call(t0 + kSecond, answer(kProfile));
  EXPECT_FALSE(rec.placed.empty());  // taken as the profile answer

  // A profile request still in flight at a full recalculation: the history goes out and the
  // next answer is taken as the history's.
  call(t0 + 5 * kSecond);
  ASSERT_EQ(stored(key::profile_state), Pending);
  fullRecalc(t0 + 6 * kSecond);
  ASSERT_EQ(stored(key::history_state), Pending);
  const sim::CallRecord& next = call(t0 + 7 * kSecond, answer(kProfile));
  EXPECT_EQ(stored(key::history_state), Done);
  EXPECT_TRUE(next.placed.empty());
}

TEST_F(Scheduler, UnknownTickerHaltsUntilFullRecalculationButNotTheConversion) {
  call(t0);
  const sim::CallRecord& rec =
      call(t0 + kSecond, answer("{\"error\": \"Unknown ticker symbol: ZZZ\"}"));
  EXPECT_EQ(logOf(rec), "1:Ostrel API Error: Unknown ticker symbol: ZZZ. Halting requests.\n");
  EXPECT_TRUE(rec.placed.empty());
  EXPECT_EQ(rec.removed_all, 0);
  sim.input(in::kFuturesTarget).setText("ES");
  const sim::CallRecord& halted = call(t0 + 30 * kSecond);
  EXPECT_TRUE(halted.requests.empty());
  EXPECT_EQ(halted.conversions.size(), 1u);
  const sim::CallRecord& recalc = fullRecalc(t0 + 40 * kSecond);
  ASSERT_EQ(recalc.requests.size(), 1u);
  EXPECT_TRUE(isHistory(recalc.requests[0]));
}

TEST_F(Scheduler, ParseOutcomes) {
  // retry: drawings removed, polling goes on.
  call(t0);
  const sim::CallRecord& retry = call(t0 + kSecond, answer("{\"error\": \"busy\"}"));
  EXPECT_EQ(logOf(retry), "1:Ostrel API Error: \"busy\". Retrying.\n");
  EXPECT_EQ(retry.removed_all, 1);
  EXPECT_EQ(stored(key::requests_halted), 0);
  // Sentinel: the host's error, then the parser's own message for a text that is not JSON.
  call(t0 + 5 * kSecond);
  const sim::CallRecord& err = call(t0 + 6 * kSecond, answer("HTTP_REQUEST_ERROR"));
  EXPECT_EQ(logOf(err),
            "1:There was an error requesting data from the server.\n"
            "0:GEX Profile json parse error. Retrying.\n");
  // halt: drawings removed and requests stop.
  call(t0 + 10 * kSecond);
  const sim::CallRecord& halt =
      call(t0 + 11 * kSecond, answer("{\"message\": \"ERROR: Invalid API Key.\"}"));
  EXPECT_EQ(logOf(halt), "1:Ostrel API Error: ERROR: Invalid API Key. Halting requests.\n");
  EXPECT_EQ(halt.removed_all, 1);
  EXPECT_EQ(stored(key::requests_halted), 1);
  EXPECT_TRUE(call(t0 + 60 * kSecond).requests.empty());
}

TEST_F(Scheduler, NullOrEmptyAnswerIsDoneWithoutParsing) {
  call(t0);
  const sim::CallRecord& rec = call(t0 + kSecond, answer(nullptr));
  EXPECT_EQ(logOf(rec), "");
  EXPECT_EQ(rec.removed_all, 0);
  EXPECT_EQ(stored(key::profile_state), Done);
  call(t0 + 5 * kSecond);
  EXPECT_EQ(logOf(call(t0 + 6 * kSecond, answer(""))), "");
}

TEST_F(Scheduler, AnswerIsDroppedWhenHaltedInFlightOrNoBarsToDraw) {
  call(t0);
  // A halt from the inputs while the request is in flight, with the window closed so the
  // answer is still taken in: it is dropped.
  sim.input(in::kPackage).setCustomList(1);
  sim.input(in::kRequestEndTime).setTimeOfDay(0.1);
  const sim::CallRecord& rec = call(t0 + kSecond, answer(kProfile));
  EXPECT_TRUE(rec.placed.empty());
  EXPECT_EQ(stored(key::profile_state), Done);

  sim.input(in::kPackage).setCustomList(0);
  sim.input(in::kRequestEndTime).setTimeOfDay(0.9583333333333334);
  fullRecalc(t0 + 10 * kSecond);
  call(t0 + 11 * kSecond, answer("[]"));  // history answer, then the profile request
  ASSERT_EQ(stored(key::profile_state), Pending);
  sim.host().RecalcFromBar = sim.host().BarCount;  // nothing to draw from
  const sim::CallRecord& late = call(t0 + 12 * kSecond, answer(kProfile));
  EXPECT_TRUE(late.placed.empty());
  EXPECT_EQ(logOf(late), "");
}

TEST_F(Scheduler, GreekKindGoesToTheGreekParser) {
  sim.input(in::kPackage).setCustomList(1);
  sim.input(in::kGreek).setCustomList(3);
  const sim::CallRecord& sent = call(t0);
  ASSERT_EQ(sent.requests.size(), 1u);
  EXPECT_NE(sent.requests[0].url.find("/state/gamma"), std::string::npos);
  const sim::CallRecord& rec = call(t0 + kSecond, answer("nope"));
  EXPECT_NE(logOf(rec).find("0:"), std::string::npos);
  EXPECT_EQ(logOf(rec).find("GEX Profile"), std::string::npos);
  EXPECT_EQ(rec.removed_all, 1);
}

TEST_F(Scheduler, HostThatCannotKeepRecordsGetsTheNullRecordHalt) {
  // Without pointer storage no record survives its creation: the parser is handed an absent
  // record, reports it and halts; nothing leaks and nothing crashes.
  sim.host().Ops.SetStoredPointer = nullptr;
  call(t0);
  EXPECT_EQ(pointer(key::p_gex_data), nullptr);
  const sim::CallRecord& rec = call(t0 + kSecond, answer(kProfile));
  EXPECT_EQ(logOf(rec), "1:Ostrel: p_gex_data is null.\n");
  EXPECT_EQ(rec.removed_all, 1);
  EXPECT_EQ(stored(key::requests_halted), 1);
}

}  // namespace
}  // namespace ostrel

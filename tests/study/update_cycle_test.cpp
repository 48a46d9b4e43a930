// The study function's update call: premiums, removal and suspension, full recalculation,
// input halts, normalisation and the call orders a host may produce.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "study/input_ids.h"
#include "study/input_readers.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;
using test::logOf;

const char* const kStateOiHalt =
    "1:No State GEX OI Data, halting requests. Choose GEX Volume or Gamma/Delta\n";
const char* const kGreekHalt =
    "1:Ostrel: Gamma/Delta requires the State package. Change Package to 'State'.\n";

class UpdateCycle : public test::StudyTest {
 protected:
  std::int64_t t0 = at(2026, 3, 10, 10, 0);
};

TEST_F(UpdateCycle, MultiplicativePremiumNotAboveZeroIsRepairedInTheInput) {
  struct Row {
    const char* label;
    void (*set)(StudyInput&);
    bool repaired;
    float read_after;
  } rows[] = {
      {"zero", [](StudyInput& s) { s.setFloat(0.0f); }, true, 1.0f},
      {"negative", [](StudyInput& s) { s.setFloat(-2.5f); }, true, 1.0f},
      {"text", [](StudyInput& s) { s.setText("2"); }, true, 1.0f},
      {"nan", [](StudyInput& s) { s.setFloat(std::nanf("")); }, true, 1.0f},
      {"infinity", [](StudyInput& s) { s.setFloat(INFINITY); }, true, 1.0f},
      {"colour", [](StudyInput& s) { s.setColour(5); }, true, 1.0f},
      {"half", [](StudyInput& s) { s.setFloat(0.5f); }, false, 0.5f},
      {"integer", [](StudyInput& s) { s.setInteger(3); }, false, 3.0f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    row.set(sim.input(in::kMultiplicativePremium));
    const InputType before = sim.input(in::kMultiplicativePremium).type;
    const sim::CallRecord& rec = call(t0);
    const bool written =
        !rec.changed_inputs.empty() && rec.changed_inputs.front() == in::kMultiplicativePremium;
    EXPECT_EQ(written, row.repaired);
    EXPECT_EQ(sim.input(in::kMultiplicativePremium).type,
              row.repaired ? InputType::kFloat : before);
    EXPECT_EQ(readFloat(sim.input(in::kMultiplicativePremium)), row.read_after);
  }
}

// Only a value that would make every price non-finite is replaced (by the default, 0).
TEST_F(UpdateCycle, AdditivePremiumThatIsNotFiniteIsRepairedInTheInput) {
  struct Row {
    const char* label;
    void (*set)(StudyInput&);
    bool repaired;
    float read_after;
  } rows[] = {
      {"nan", [](StudyInput& s) { s.setFloat(std::nanf("")); }, true, 0.0f},
      {"infinity", [](StudyInput& s) { s.setFloat(INFINITY); }, true, 0.0f},
      {"minus infinity", [](StudyInput& s) { s.setFloat(-INFINITY); }, true, 0.0f},
      {"negative", [](StudyInput& s) { s.setFloat(-12.5f); }, false, -12.5f},
      {"integer", [](StudyInput& s) { s.setInteger(3); }, false, 3.0f},
      {"text", [](StudyInput& s) { s.setText("2"); }, false, 0.0f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    row.set(sim.input(in::kAdditivePremium));
    const InputType before = sim.input(in::kAdditivePremium).type;
    const sim::CallRecord& rec = call(t0);
    const bool written =
        !rec.changed_inputs.empty() && rec.changed_inputs.front() == in::kAdditivePremium;
    EXPECT_EQ(written, row.repaired);
    EXPECT_EQ(sim.input(in::kAdditivePremium).type, row.repaired ? InputType::kFloat : before);
    EXPECT_EQ(readFloat(sim.input(in::kAdditivePremium)), row.read_after);
  }
}

TEST_F(UpdateCycle, RepairedPremiumIsTheOneUsedForLevels) {
  sim.input(in::kMultiplicativePremium).setFloat(-1.0f);
  sim.input(in::kAdditivePremium).setFloat(2.0f);
  fullRecalc(t0);
  ASSERT_EQ(stored(key::history_state), Pending);
  // 13:35 UTC is 09:35 New York: bar 5.
  call(t0 + test::kSecond, answer("[{\"timestamp\": 1773149700, \"major_call_gamma\": 5510, "
                                  "\"major_put_gamma\": 5450, \"zero_gamma\": 5480.5}]"));
  EXPECT_EQ(sim.subgraph(0).value(5), 5512.0f);
  EXPECT_EQ(sim.subgraph(2).value(5), 5482.5f);
}

TEST_F(UpdateCycle, StateGexWithOiDisplayHaltsOnceUntilFullRecalculation) {
  sim.input(in::kPackage).setCustomList(1);
  sim.input(in::kGreek).setCustomList(1);
  sim.input(in::kGexDisplay).setCustomList(2);
  EXPECT_EQ(logOf(call(t0)), kStateOiHalt);
  EXPECT_EQ(stored(key::requests_halted), 1);
  const sim::CallRecord& quiet = call(t0 + 10 * test::kSecond);
  EXPECT_EQ(logOf(quiet), "");
  EXPECT_TRUE(quiet.requests.empty());

  // The full recalculation logs again, and its scheduling step clears the halt within the same
  // call, so the history request goes out.
  const sim::CallRecord& recalc = fullRecalc(t0 + 20 * test::kSecond);
  EXPECT_EQ(logOf(recalc), kStateOiHalt);
  ASSERT_EQ(recalc.requests.size(), 1u);
  EXPECT_NE(recalc.requests[0].url.find("/hist/"), std::string::npos);
  EXPECT_EQ(stored(key::requests_halted), 0);

  // The next call halts anew; the history answer is still taken in.
  const sim::CallRecord& next = call(t0 + 21 * test::kSecond, answer("[]"));
  EXPECT_EQ(logOf(next), kStateOiHalt);
  EXPECT_EQ(stored(key::requests_halted), 1);
  EXPECT_EQ(stored(key::history_state), Done);
  EXPECT_TRUE(next.requests.empty());
  EXPECT_EQ(logOf(call(t0 + 30 * test::kSecond)), "");
}

TEST_F(UpdateCycle, UnservableCombinations) {
  struct Row {
    std::int32_t package, kind, display;
    const char* log;
  } rows[] = {
      {1, 0, 1, kStateOiHalt}, {1, 1, 2, kStateOiHalt},
      {1, 0, 0, ""},           {1, 2, 1, ""},  // "1dte Gex" with State and OI passes
      {0, 6, 2, kGreekHalt},   {0, 3, 0, kGreekHalt},
      {0, 2, 2, ""},           {1, 5, 2, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.package) + "/" + std::to_string(r.kind) + "/" +
                 std::to_string(r.display));
    sim.input(in::kPackage).setCustomList(r.package);
    sim.input(in::kGreek).setCustomList(r.kind);
    sim.input(in::kGexDisplay).setCustomList(r.display);
    // A full recalculation with the window closed: only the halt check speaks.
    sim.host().IsFullRecalc = 1;
    sim.input(in::kRequestInterval).setInteger(1);
    const std::string log = logOf(call(at(2026, 3, 10, 8, 0)));
    EXPECT_EQ(log, r.log);
  }
}

TEST_F(UpdateCycle, NormalisedTickerAndApiKeyReachTheProfileRequest) {
  sim.input(in::kTicker).setText("  es_spx\t");
  sim.input(in::kApiKey).setText(" My Key ");
  const sim::CallRecord& rec = call(t0);
  ASSERT_EQ(rec.requests.size(), 1u);
  EXPECT_EQ(rec.requests[0].url,
            std::string("https://") + OSTREL_SERVICE_HOST + "/v2/sierra/ES_SPX/classic/full");
  EXPECT_EQ(rec.requests[0].headers[2].second, "Basic  My Key ");

  sim.input(in::kTicker).setText(" \t ");
  sim.input(in::kApiKey).setText(nullptr);
  const sim::CallRecord& blank = call(t0 + 5 * test::kSecond, answer("EMPTY_RESPONSE"));
  (void)blank;
  const sim::CallRecord& next = call(t0 + 10 * test::kSecond);
  ASSERT_EQ(next.requests.size(), 1u);
  EXPECT_NE(next.requests[0].url.find("/v2/sierra/SPX/classic/full"), std::string::npos);
  EXPECT_EQ(next.requests[0].headers[2].second, "Basic Unset");
}

TEST_F(UpdateCycle, FuturesTargetBlankDisablesAndFormFeedDoesNot) {
  sim.input(in::kFuturesTarget).setText(" \t\r\n");
  EXPECT_TRUE(call(t0).conversions.empty());
  sim.input(in::kFuturesTarget).setText(" nq ");
  const sim::CallRecord& nq = call(t0 + test::kSecond);
  ASSERT_EQ(nq.conversions.size(), 1u);
  EXPECT_NE(nq.conversions[0].path.find("future=NQ"), std::string::npos);
  // The conversion stays on (the client itself may refuse such a target).
  sim.input(in::kFuturesTarget).setText("\f");
  const sim::CallRecord& ff = call(t0 + 2 * test::kSecond);
  ASSERT_FALSE(ff.log.empty());
  EXPECT_EQ(ff.log[0].text.rfind("Ostrel Futures Conversion: sending request", 0), 0u);
}

TEST_F(UpdateCycle, RemovalReleasesRecordsAndLaterCallsStartFresh) {
  call(t0);
  ASSERT_NE(pointer(key::p_gex_data), nullptr);
  ASSERT_NE(pointer(key::p_greek_data), nullptr);
  sim.host().IsRemovalCall = 1;
  const sim::CallRecord& removal = call(t0 + test::kSecond, answer("{}"));
  EXPECT_EQ(removal.removed_all, 1);
  EXPECT_TRUE(removal.requests.empty());
  EXPECT_EQ(pointer(key::p_gex_data), nullptr);
  EXPECT_EQ(pointer(key::p_greek_data), nullptr);
  call(t0 + 2 * test::kSecond);  // removal twice
  EXPECT_EQ(pointer(key::p_gex_data), nullptr);
  sim.host().IsRemovalCall = 0;
  call(t0 + 3 * test::kSecond);  // an update after removal creates fresh records
  EXPECT_NE(pointer(key::p_gex_data), nullptr);
  EXPECT_NE(pointer(key::p_greek_data), nullptr);
}

TEST_F(UpdateCycle, SuspendedCallRemovesDrawingsAndKeepsRecords) {
  call(t0);
  void* gex = pointer(key::p_gex_data);
  sim.host().IsSuspended = 1;
  const sim::CallRecord& rec = call(t0 + 10 * test::kSecond);
  sim.host().IsSuspended = 0;
  EXPECT_EQ(rec.removed_all, 1);
  EXPECT_TRUE(rec.requests.empty());
  EXPECT_EQ(pointer(key::p_gex_data), gex);
  EXPECT_EQ(stored(key::profile_state), Pending);
}

TEST_F(UpdateCycle, FullRecalculationSweepsBarsAndMarkersOnly) {
  const std::int32_t bar = sim.addStaleDrawing(kDrawingRectangle);
  const std::int32_t marker = sim.addStaleDrawing(kDrawingMarker);
  const std::int32_t line = sim.addStaleDrawing(kDrawingHorizontalLine);
  const sim::CallRecord& rec = fullRecalc(t0);
  EXPECT_EQ(rec.removed, (std::vector<std::int32_t>{bar, marker}));
  EXPECT_EQ(sim.drawings().count(line), 1u);
  EXPECT_EQ(stored(key::last_drawing_slot), 0);
}

TEST(UpdateCycleOrder, UpdateBeforeDefaultsAndCallsOnAFreshHostAreSafe) {
  sim::SimHost sim;
  sim.setBars(at(2026, 3, 10, 9, 30), test::kMinute, 10);
  sim.host().CurrentTime = at(2026, 3, 10, 9, 35);
  sim.host().IsRemovalCall = 1;
  sim.runCall(&test::study);  // removal first: nothing to release
  sim.host().IsRemovalCall = 0;
  sim.runCall(&test::study);  // update before defaults: every slot reads as unset
  sim.runDefaults(&test::study);
  sim.runCall(&test::study);
  sim.releaseStudy(&test::study);
  EXPECT_EQ(sim.storedPointers().values.at(key::p_gex_data), nullptr);
}

}  // namespace
}  // namespace ostrel

// Running out of memory while an answer is parsed is no fault of the answer: every parser passes
// std::bad_alloc on instead of reporting a parse error (which would drop the answer as broken,
// or halt), and leaves no half-filled profile behind. Each allocation of a parse is failed in
// turn.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <new>
#include <string>

#include "model/json_document.h"
#include "model/parse_gex_profile.h"
#include "model/parse_greek_profile.h"
#include "sim/allocation_faults.h"
#include "sim/sim_host.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

const char* const kGreek =
    "{\"timestamp\": 1776173342, \"ticker\": \"SPX\", \"spot\": 5492.25,"
    " \"major_positive\": 5520, \"major_negative\": 5460, \"major_long_gamma\": 5505,"
    " \"major_short_gamma\": 5455, \"mini_contracts\": [[5460, 1.5, 2.5, -42.0, [-40.0, -30.0]],"
    " [5505, 3.0, 1.0, 60.0, [55.0, 41.0, 20.0]]]}";

// Runs `parse` with its Nth allocation failing; true when it threw std::bad_alloc.
template <typename Parse>
bool throwsAt(std::uint64_t n, Parse parse, std::uint64_t* total = nullptr) {
  bool threw = false;
  sim::startAllocationSession(n);
  {
    const sim::StudyCallScope study;
    try {
      parse();
    } catch (const std::bad_alloc&) {
      threw = true;
    }
  }
  const sim::AllocationReport report = sim::endAllocationSession();
  if (total != nullptr) *total = report.allocations;
  return threw;
}

class ParseOutOfMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!sim::allocationHooksInstalled()) GTEST_SKIP() << "no allocation hooks in this build";
  }
};

TEST_F(ParseOutOfMemory, JsonDocumentPassesItOnAndParsesAgainAfterwards) {
  const char* text = test::kTwoStrikeProfile;
  std::uint64_t total = 0;
  json::JsonDocument doc;
  ASSERT_FALSE(throwsAt(
      0, [&] { doc.parse(text); }, &total));
  ASSERT_GT(total, 0u);
  for (std::uint64_t n = 1; n <= total; ++n) {
    EXPECT_TRUE(throwsAt(n, [&] { doc.parse(text); })) << "N " << n;
    EXPECT_TRUE(doc.root().IsNull()) << "N " << n;
    EXPECT_TRUE(doc.parse(text)) << "N " << n;
  }
}

// Both profile parsers: every failure throws, logs nothing (the caller says what was given
// up), and leaves the record cleared; with memory back the same answer fills it.
TEST_F(ParseOutOfMemory, ProfileParsersLeaveTheRecordClearedAndLogNothing) {
  sim::SimHost sim;
  sim.setBars(test::at(2026, 3, 10, 9, 30), test::kMinute, 390);
  StudyHost& host = sim.host();
  const char* gex_text = test::kTwoStrikeProfile;
  const char* greek_text = kGreek;
  GexData gex;
  GreekData greek;
  struct Case {
    const char* name;
    std::function<ParseOutcome()> parse;
    std::function<bool()> cleared;
  };
  const Case cases[] = {
      {"gex", [&] { return parseGexProfile(host, &gex_text, &gex); },
       [&] { return gex.ticker.empty() && gex.strike_prices.empty() && gex.gex_vol.empty(); }},
      {"greek", [&] { return parseGreekProfile(host, &greek_text, &greek); },
       [&] { return greek.ticker.empty() && greek.strike_prices.empty(); }},
  };
  for (const Case& c : cases) {
    std::uint64_t total = 0;
    ParseOutcome outcome = ParseOutcome::retry;
    ASSERT_FALSE(throwsAt(
        0, [&] { outcome = c.parse(); }, &total))
        << c.name;
    ASSERT_EQ(outcome, ParseOutcome::filled) << c.name;
    for (std::uint64_t n = 1; n <= total; ++n) {
      sim.runCall(nullptr);  // empties the log record
      gex = GexData();       // fresh records: a filled one keeps its storage
      greek = GreekData();
      EXPECT_TRUE(throwsAt(n, [&] { c.parse(); })) << c.name << ", N " << n;
      EXPECT_TRUE(c.cleared()) << c.name << ", N " << n;
      EXPECT_TRUE(sim.lastCall().log.empty()) << c.name << ", N " << n;
      EXPECT_EQ(c.parse(), ParseOutcome::filled) << c.name << ", N " << n;
    }
  }
}

}  // namespace
}  // namespace ostrel

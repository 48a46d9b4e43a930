#include "service/profile_answer.h"

#include <gtest/gtest.h>

#include <string>

#include "service/profile_records.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::logOf;

// handleProfileAnswer inside one simulated host call, with a filled GEX record to see clears.
class ProfileAnswer : public ::testing::Test {
 protected:
  void TearDown() override { releaseProfileRecords(sim.host()); }

  bool handle(const char* text, std::int32_t recalc_from_bar = 0) {
    ensureProfileRecords(sim.host());
    gexRecord(sim.host())->zero_gamma = 5480.5f;
    gexRecord(sim.host())->strike_prices.push_back(5500.0f);
    sim.host().RecalcFromBar = recalc_from_bar;
    sim::CallScript script;
    script.response_ready = true;
    if (text != nullptr) script.response_text = std::string(text);
    static bool halted;
    halted = false;
    sim.runCall([](StudyHost& h) { halted = handleProfileAnswer(h); }, script);
    return halted;
  }
  bool cleared() { return gexRecord(sim.host())->strike_prices.empty(); }
  std::int32_t stored(std::int32_t k) {
    const auto it = sim.storedInts().values.find(k);
    return it == sim.storedInts().values.end() ? 0 : it->second;
  }

  sim::SimHost sim;
};

TEST_F(ProfileAnswer, OutcomesByText) {
  const char* const kServerError = "1:There was an error requesting data from the server.\n";
  struct Row {
    const char* text;
    std::int32_t recalc_from_bar;
    std::string log;
    bool cleared;
    bool halted;
  } rows[] = {
      {nullptr, 0, "", false, false},
      {"", 0, "", false, false},
      {"HTTP_REQUEST_ERROR", 0, kServerError, true, false},
      {"EMPTY_RESPONSE", 0,
       std::string(kServerError) + "0:There are no Ostrel levels for the given parameters.\n", true,
       false},
      {"EMPTY_RESPONSE", 3, kServerError, true, false},
      {"HTTP_REQUEST_ERROR ", 0, "", false, false},  // not the sentinel: a body
      {"not json", 0, "", false, false},
      {"[1,2]", 0, "", false, false},
      {"{\"error\": 5}", 0, "", false, false},
      {"{\"error\": \"Invalid API key\"}", 0, "", false, false},
      {"{\"error\": \"Unknown ticker symbol: XYZ\"}", 0,
       "1:Ostrel API Error: Unknown ticker symbol: XYZ. Halting requests.\n", false, true},
      {"{\"x\": 1, \"error\": \"oops, Unknown ticker symbol\"}", 0,
       "1:Ostrel API Error: oops, Unknown ticker symbol. Halting requests.\n", false, true},
      {"{\"error\": \"%s%n Unknown ticker symbol\"}", 0,
       "1:Ostrel API Error: %s%n Unknown ticker symbol. Halting requests.\n", false, true},
      {"{\"error\": \"unknown ticker symbol\"}", 0, "", false, false},
      {"{\"error\": \"Unknown ticker symbol\"} trailing", 0, "", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text != nullptr ? r.text : "(null)");
    const bool halted = handle(r.text, r.recalc_from_bar);
    EXPECT_EQ(halted, r.halted);
    EXPECT_EQ(logOf(sim.lastCall()), r.log);
    EXPECT_EQ(cleared(), r.cleared);
    EXPECT_EQ(stored(key::profile_state), Done);
    EXPECT_EQ(stored(key::requests_halted), r.halted ? 1 : 0);
    // Reset the halt for the next row.
    sim.host().Ops.SetStoredInt(&sim.host(), key::requests_halted, 0);
  }
}

TEST_F(ProfileAnswer, DeeplyNestedOrHugeBodiesAreHarmless) {
  const std::string deep(200000, '[');
  EXPECT_FALSE(handle(deep.c_str()));
  const std::string big = "{\"error\": \"" + std::string(1 << 20, 'x') + "\"}";
  EXPECT_FALSE(handle(big.c_str()));
  EXPECT_EQ(logOf(sim.lastCall()), "");
}

TEST(UnknownTicker, ErrorTextIsReturned) {
  HostString error;
  EXPECT_TRUE(isUnknownTickerAnswer("{\"error\":\"Unknown ticker symbol\"}", error));
  EXPECT_STREQ(error.c_str(), "Unknown ticker symbol");
  EXPECT_FALSE(isUnknownTickerAnswer(nullptr, error));
  EXPECT_FALSE(isUnknownTickerAnswer("{\"error\":\"Unknown ticker\\u0000 symbol\"}", error));
}

}  // namespace
}  // namespace ostrel

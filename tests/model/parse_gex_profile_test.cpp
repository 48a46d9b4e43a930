#include "model/parse_gex_profile.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model_test_support.h"
#include "sim/sim_host.h"

namespace ostrel {
namespace {

using test::Logged;

constexpr const char* kParseError = "GEX Profile json parse error. Retrying.";
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Result {
  ParseOutcome outcome;
  std::vector<Logged> log;
};

Result parse(const std::string& text, GexData& data) {
  sim::SimHost sim;
  const char* pointer = text.c_str();
  const ParseOutcome outcome = parseGexProfile(sim.host(), &pointer, &data);
  return {outcome, test::logOf(sim)};
}

GexData filled(const std::string& text) {
  GexData data;
  const Result r = parse(text, data);
  EXPECT_EQ(r.outcome, ParseOutcome::filled) << text;
  EXPECT_TRUE(r.log.empty());
  return data;
}

struct OutcomeCase {
  const char* text;
  ParseOutcome outcome;
  const char* log;  // null: nothing logged
  int flag;
};

constexpr ParseOutcome kFilled = ParseOutcome::filled;
constexpr ParseOutcome kRetry = ParseOutcome::retry;
constexpr ParseOutcome kHalt = ParseOutcome::halt;

const OutcomeCase kOutcomeCases[] = {
    // Not one JSON value under the default grammar.
    {"", kRetry, kParseError, 0},
    {" \t\r\n", kRetry, kParseError, 0},
    {R"({"timestamp":1} x)", kRetry, kParseError, 0},
    {R"({"timestamp":1}{})", kRetry, kParseError, 0},
    {R"({"timestamp":1,})", kRetry, kParseError, 0},
    {R"(/* c */ {"timestamp":1})", kRetry, kParseError, 0},
    {R"({"timestamp":1,"spot":NaN})", kRetry, kParseError, 0},
    {R"({"timestamp":1,"spot":-Infinity})", kRetry, kParseError, 0},
    {R"({'timestamp':1})", kRetry, kParseError, 0},
    {R"({"timestamp":01})", kRetry, kParseError, 0},
    {"{\"timestamp\":1}\f", kRetry, kParseError, 0},
    {"\xEF\xBB\xBF{\"timestamp\":1}", kRetry, kParseError, 0},
    {R"({"timestamp":1,"spot":1e400})", kRetry, kParseError, 0},
    {R"({"timestamp":1,"spot":0e400})", kRetry, kParseError, 0},
    // A number below the reader's exponent arithmetic is the zero it plainly is.
    {R"({"timestamp":1,"spot":0.0000000001e-2147483639})", kFilled, nullptr, 0},
    // Not an object, or nothing in it.
    {"{}", kRetry, nullptr, 0},
    {"[]", kRetry, nullptr, 0},
    {"null", kRetry, nullptr, 0},
    {R"("text")", kRetry, nullptr, 0},
    {"5", kRetry, nullptr, 0},
    // The refused key halts, even beside a complete profile and an "error".
    {R"({"message":"ERROR: Invalid API Key."})", kHalt,
     "Ostrel API Error: ERROR: Invalid API Key. Halting requests.", 1},
    {R"({"error":"x","timestamp":1,"strikes":[[1,2,3,[4]]],"message":"ERROR: Invalid API Key."})",
     kHalt, "Ostrel API Error: ERROR: Invalid API Key. Halting requests.", 1},
    // Other messages are ignored, whatever they hold.
    {R"({"message":"ERROR: Invalid API Key. ","timestamp":1})", kFilled, nullptr, 0},
    {R"({"message":"ERROR: Invalid API Key.\u0000","timestamp":1})", kFilled, nullptr, 0},
    {R"({"message":"Invalid API Key.","timestamp":1})", kFilled, nullptr, 0},
    {R"({"message":5,"timestamp":1})", kFilled, nullptr, 0},
    // An "error" string retries and wins over a complete profile; other "error" values do not.
    {R"({"error":"Rate limited","timestamp":1,"strikes":[[1,2,3,[4]]]})", kRetry,
     "Ostrel API Error: \"Rate limited\". Retrying.", 1},
    {R"({"error":"%s%n%x","timestamp":1})", kRetry, "Ostrel API Error: \"%s%n%x\". Retrying.", 1},
    {R"({"error":""})", kRetry, "Ostrel API Error: \"\". Retrying.", 1},
    {R"({"error":5,"timestamp":1})", kFilled, nullptr, 0},
    {R"({"error":null,"timestamp":1})", kFilled, nullptr, 0},
    // The timestamp must be an int32.
    {R"({"timestamp":1})", kFilled, nullptr, 0},
    {R"({"timestamp":-2147483648})", kFilled, nullptr, 0},
    {R"({"timestamp":2147483647})", kFilled, nullptr, 0},
    {R"({"timestamp":2147483648})", kRetry, nullptr, 0},
    {R"({"timestamp":-2147483649})", kRetry, nullptr, 0},
    {R"({"timestamp":1710000000000})", kRetry, nullptr, 0},
    {R"({"timestamp":1.5})", kRetry, nullptr, 0},
    {R"({"timestamp":1.0})", kRetry, nullptr, 0},
    {R"({"timestamp":"1"})", kRetry, nullptr, 0},
    {R"({"timestamp":null})", kRetry, nullptr, 0},
    {R"({"spot":5000})", kRetry, nullptr, 0},
    // The first occurrence of a repeated key counts.
    {R"({"timestamp":"x","timestamp":1})", kRetry, nullptr, 0},
    {R"({"timestamp":1,"timestamp":"x"})", kFilled, nullptr, 0},
    {" \t\r\n{\"timestamp\":1} \t\r\n", kFilled, nullptr, 0},
};

TEST(ParseGexProfile, OutcomesAndMessages) {
  for (const OutcomeCase& c : kOutcomeCases) {
    SCOPED_TRACE(c.text);
    GexData data;
    test::dirty(data);
    const Result r = parse(c.text, data);
    EXPECT_STREQ(test::outcomeName(r.outcome), test::outcomeName(c.outcome));
    test::expectLog(r.log, c.log, c.flag);
    if (c.outcome != kFilled) test::expectCleared(data);
  }
}

TEST(ParseGexProfile, NullTextIsTheEmptyText) {
  for (const bool null_pointer_to_text : {true, false}) {
    sim::SimHost sim;
    GexData data;
    test::dirty(data);
    const char* text = nullptr;
    const ParseOutcome outcome =
        parseGexProfile(sim.host(), null_pointer_to_text ? nullptr : &text, &data);
    EXPECT_EQ(outcome, ParseOutcome::retry);
    test::expectLog(test::logOf(sim), kParseError, 0);
    test::expectCleared(data);
  }
}

TEST(ParseGexProfile, NullRecordHaltsWithoutParsing) {
  sim::SimHost sim;
  const char* text = R"({"timestamp":1})";
  EXPECT_EQ(parseGexProfile(sim.host(), &text, nullptr), ParseOutcome::halt);
  test::expectLog(test::logOf(sim), "Ostrel: p_gex_data is null.", 1);
}

TEST(ParseGexProfile, OnlyTimestampGivesAnEmptyProfile) {
  const GexData d = filled(R"({"timestamp":1700000000})");
  EXPECT_EQ(d.timestamp, 1700000000);
  EXPECT_TRUE(d.ticker.empty());
  EXPECT_EQ(d.spot, 0.0f);
  EXPECT_TRUE(d.strike_prices.empty());
  EXPECT_TRUE(d.priors.empty());
  EXPECT_TRUE(d.max_priors.empty());
  EXPECT_EQ(d.max_abs_vol, 0.001f);
  EXPECT_EQ(d.max_abs_oi, 0.001f);
  EXPECT_EQ(d.max_abs_all, 0.001f);
}

TEST(ParseGexProfile, EveryFieldFromItsOwnKey) {
  const GexData d = filled(R"({"timestamp":42,"ticker":"SPX","spot":1,"zero_gamma":2,
      "major_pos_vol":3,"major_pos_oi":4,"major_neg_vol":5,"major_neg_oi":6,"sum_gex_vol":7,
      "sum_gex_oi":8,"delta_risk_reversal":9,"unknown":10})");
  EXPECT_EQ(d.timestamp, 42);
  EXPECT_EQ(d.ticker, "SPX");
  const std::vector<float> got = {d.spot,         d.zero_gamma,    d.major_pos_vol,
                                  d.major_pos_oi, d.major_neg_vol, d.major_neg_oi,
                                  d.sum_gex_vol,  d.sum_gex_oi,    d.delta_risk_reversal};
  EXPECT_EQ(got, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(ParseGexProfile, OneStrike) {
  const GexData d = filled(R"({"timestamp":1,"strikes":[[5000,-2.5,1.0,[1,2,3,4,5]]]})");
  EXPECT_EQ(d.strike_prices, std::vector<float>{5000.0f});
  EXPECT_EQ(d.gex_vol, std::vector<float>{-2.5f});
  EXPECT_EQ(d.gex_oi, std::vector<float>{1.0f});
  EXPECT_EQ(d.priors, (std::vector<float>{1, 2, 3, 4, 5}));
  EXPECT_EQ(d.max_abs_vol, 5.0f + 0.001f);
  EXPECT_EQ(d.max_abs_oi, 1.0f + 0.001f);
  EXPECT_EQ(d.max_abs_all, 2.5f + 0.001f);
}

TEST(ParseGexProfile, LastStrikesPriorsNeverReachMaxAbsAll) {
  const GexData two = filled(R"({"timestamp":1,"strikes":[[1,1,1,[10]],[2,0,0,[0]]]})");
  EXPECT_EQ(two.max_abs_all, 10.0f + 0.001f);
  EXPECT_EQ(two.max_abs_vol, 10.0f + 0.001f);
  const GexData one = filled(R"({"timestamp":1,"strikes":[[1,1,1,[10]]]})");
  EXPECT_EQ(one.max_abs_all, 1.0f + 0.001f);
  EXPECT_EQ(one.max_abs_vol, 10.0f + 0.001f);
}

TEST(ParseGexProfile, MaxPriorsKeepTheirOrder) {
  const GexData d = filled(R"({"timestamp":1,"max_priors":[[5000,12.5],[5010,-3]]})");
  ASSERT_EQ(d.max_priors.size(), 2u);
  EXPECT_EQ(d.max_priors[0], (std::vector<float>{5000.0f, 12.5f}));
  EXPECT_EQ(d.max_priors[1], (std::vector<float>{5010.0f, -3.0f}));
}

TEST(ParseGexProfile, NumbersBecomeTheNearestFloat) {
  const GexData d = filled(R"({"timestamp":1,"spot":0.1,"zero_gamma":3.5e38,
      "major_pos_vol":-3.5e38,"major_pos_oi":1e-50,"major_neg_vol":16777217,
      "major_neg_oi":9e308,"sum_gex_vol":18446744073709551615,"sum_gex_oi":true,
      "delta_risk_reversal":1e-400})");
  EXPECT_EQ(d.spot, 0.1f);
  EXPECT_EQ(d.zero_gamma, kInf);
  EXPECT_EQ(d.major_pos_vol, -kInf);
  EXPECT_EQ(d.major_pos_oi, 0.0f);
  EXPECT_EQ(d.major_neg_vol, 16777216.0f);
  EXPECT_EQ(d.major_neg_oi, kInf);  // the reader gives an infinite double here
  EXPECT_EQ(d.sum_gex_vol, 18446744073709551616.0f);
  EXPECT_EQ(d.sum_gex_oi, 0.0f);
  EXPECT_EQ(d.delta_risk_reversal, 0.0f);
}

TEST(ParseGexProfile, InfiniteValueMakesInfiniteMaximum) {
  const GexData d = filled(R"({"timestamp":1,"strikes":[[1,3.5e38,0,[]]]})");
  EXPECT_EQ(d.max_abs_vol, kInf);
  EXPECT_EQ(d.max_abs_all, kInf);
  EXPECT_EQ(d.max_abs_oi, 0.001f);
}

struct ShapeCase {
  const char* members;  // appended to {"timestamp":1,
  std::vector<float> strikes;
  std::vector<float> gex_vol;
  std::vector<float> priors;
  std::vector<std::vector<float>> max_priors;
};

// Malformed parts count as absent; the rest of the answer still fills.
TEST(ParseGexProfile, MalformedPartsAreSkipped) {
  const ShapeCase cases[] = {
      {R"("strikes":{"a":[1,2,3,[4]]})", {}, {}, {}, {}},
      {R"("strikes":"x")", {}, {}, {}, {}},
      {R"("strikes":[[1,2,3],[7,8,9,[4]]])", {7}, {8}, {4}, {}},
      {R"("strikes":[5,"x",null,{"a":1},[],[7,8,9,[4]]])", {7}, {8}, {4}, {}},
      {R"("strikes":[[7,8,9,4],[6,5,4,[3]]])", {7, 6}, {8, 5}, {3}, {}},
      {R"("strikes":[["7",[8],{"a":9},[true,null,"x",[1],5]]])", {0}, {0}, {0, 0, 0, 0, 5}, {}},
      {R"("strikes":[[7,8,9,[4],"extra",[5]]])", {7}, {8}, {4}, {}},
      {R"("max_priors":[[1],[2,3,4],"x",[null,"y"],{"a":1}])", {}, {}, {}, {{2, 3}, {0, 0}}},
      {R"("max_priors":{"a":[1,2]})", {}, {}, {}, {}},
      {R"("strikes":null,"max_priors":null)", {}, {}, {}, {}},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.members);
    const GexData d = filled(std::string(R"({"timestamp":1,)") + c.members + "}");
    EXPECT_EQ(d.strike_prices, c.strikes);
    EXPECT_EQ(d.gex_vol, c.gex_vol);
    EXPECT_EQ(d.gex_oi.size(), c.strikes.size());
    EXPECT_EQ(d.priors, c.priors);
    EXPECT_EQ(d.max_priors, c.max_priors);
  }
}

TEST(ParseGexProfile, TickerTakesOnlyAString) {
  EXPECT_EQ(filled(R"({"timestamp":1,"ticker":5})").ticker, "");
  EXPECT_EQ(filled(R"({"timestamp":1,"ticker":null})").ticker, "");
  EXPECT_EQ(filled(R"({"timestamp":1,"ticker":"A\u0000B"})").ticker, "A");
  EXPECT_EQ(filled("{\"timestamp\":1,\"ticker\":\"\xFF\xFE\"}").ticker, "\xFF\xFE");
}

TEST(ParseGexProfile, RefillReusesTheRecordsStorage) {
  GexData d;
  const std::string text = R"({"timestamp":1,"strikes":[[1,2,3,[4,5]],[2,3,4,[5,6]]]})";
  parse(text, d);
  const float* strikes = d.strike_prices.data();
  const float* priors = d.priors.data();
  EXPECT_EQ(parse(text, d).outcome, ParseOutcome::filled);
  EXPECT_EQ(d.strike_prices.data(), strikes);
  EXPECT_EQ(d.priors.data(), priors);
}

}  // namespace
}  // namespace ostrel

#include "model/parse_greek_profile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model_test_support.h"
#include "sim/sim_host.h"

namespace ostrel {
namespace {

using test::Logged;

struct Result {
  ParseOutcome outcome;
  std::vector<Logged> log;
};

Result parse(const std::string& text, GreekData& data) {
  sim::SimHost sim;
  const char* pointer = text.c_str();
  const ParseOutcome outcome = parseGreekProfile(sim.host(), &pointer, &data);
  return {outcome, test::logOf(sim)};
}

GreekData filled(const std::string& text) {
  GreekData data;
  const Result r = parse(text, data);
  EXPECT_EQ(r.outcome, ParseOutcome::filled) << text;
  EXPECT_TRUE(r.log.empty());
  return data;
}

struct OutcomeCase {
  const char* text;
  ParseOutcome outcome;
  const char* log;
  int flag;
};

TEST(ParseGreekProfile, OutcomesAndMessages) {
  const char* parse_error = "Greek Profile json parse error. Retrying.";
  const OutcomeCase cases[] = {
      {"", ParseOutcome::retry, parse_error, 0},
      {R"({"timestamp":1,})", ParseOutcome::retry, parse_error, 0},
      {R"({"timestamp":1,"spot":1e99999999999})", ParseOutcome::retry, parse_error, 0},
      {"{}", ParseOutcome::retry, nullptr, 0},
      {"[1]", ParseOutcome::retry, nullptr, 0},
      {R"({"message":"ERROR: Invalid API Key.","timestamp":1})", ParseOutcome::halt,
       "Ostrel API Error: ERROR: Invalid API Key. Halting requests.", 1},
      {R"({"error":"Unknown","timestamp":1})", ParseOutcome::retry,
       "Ostrel API Error: \"Unknown\". Retrying.", 1},
      {R"({"message":"Other","timestamp":1})", ParseOutcome::filled, nullptr, 0},
      {R"({"timestamp":2147483648})", ParseOutcome::retry, nullptr, 0},
      {R"({"timestamp":"5"})", ParseOutcome::retry, nullptr, 0},
  };
  for (const OutcomeCase& c : cases) {
    SCOPED_TRACE(c.text);
    GreekData data;
    test::dirty(data);
    const Result r = parse(c.text, data);
    EXPECT_STREQ(test::outcomeName(r.outcome), test::outcomeName(c.outcome));
    test::expectLog(r.log, c.log, c.flag);
    if (c.outcome != ParseOutcome::filled) test::expectCleared(data);
  }
}

TEST(ParseGreekProfile, NullRecordHalts) {
  sim::SimHost sim;
  const char* text = R"({"timestamp":1})";
  EXPECT_EQ(parseGreekProfile(sim.host(), &text, nullptr), ParseOutcome::halt);
  test::expectLog(test::logOf(sim), "Ostrel: p_greek_data is null.", 1);
}

TEST(ParseGreekProfile, EveryFieldFromItsOwnKey) {
  const GreekData d = filled(R"({"timestamp":7,"ticker":"NDX","spot":1,"major_positive":2,
      "major_negative":3,"major_long_gamma":4,"major_short_gamma":5})");
  EXPECT_EQ(d.timestamp, 7);
  EXPECT_EQ(d.ticker, "NDX");
  const std::vector<float> got = {d.spot, d.major_positive, d.major_negative, d.major_long_gamma,
                                  d.major_short_gamma};
  EXPECT_EQ(got, (std::vector<float>{1, 2, 3, 4, 5}));
  EXPECT_EQ(d.max_abs_value, 0.001f);
}

TEST(ParseGreekProfile, OneContract) {
  const GreekData d = filled(R"({"timestamp":1,"mini_contracts":[[5000,1,2,-3,[4,-6,1]]]})");
  EXPECT_EQ(d.strike_prices, std::vector<float>{5000});
  EXPECT_EQ(d.value1, std::vector<float>{1});
  EXPECT_EQ(d.value2, std::vector<float>{2});
  EXPECT_EQ(d.value3, std::vector<float>{-3});
  EXPECT_EQ(d.priors, (std::vector<float>{4, -6, 1}));
  EXPECT_EQ(d.max_abs_value, 6.0f + 0.001f);
}

TEST(ParseGreekProfile, FirstAndSecondValuesTakeNoPartInTheMaximum) {
  const GreekData d = filled(R"({"timestamp":1,"mini_contracts":[[5000,100,-200,1,[]]]})");
  EXPECT_EQ(d.max_abs_value, 1.0f + 0.001f);
}

TEST(ParseGreekProfile, GexMembersAreIgnored) {
  const GreekData d = filled(R"({"timestamp":1,"strikes":[[1,2,3,[4]]],"max_priors":[[1,2]]})");
  EXPECT_TRUE(d.strike_prices.empty());
  EXPECT_TRUE(d.priors.empty());
  EXPECT_EQ(d.max_abs_value, 0.001f);
}

TEST(ParseGreekProfile, MalformedEntriesAreSkipped) {
  const GreekData d = filled(
      R"({"timestamp":1,"mini_contracts":[[1,2,3,4],7,[5,6,7,8,"x"],[9,"a",null,2,[null,3]]]})");
  EXPECT_EQ(d.strike_prices, (std::vector<float>{5, 9}));
  EXPECT_EQ(d.value1, (std::vector<float>{6, 0}));
  EXPECT_EQ(d.value2, (std::vector<float>{7, 0}));
  EXPECT_EQ(d.value3, (std::vector<float>{8, 2}));
  EXPECT_EQ(d.priors, (std::vector<float>{0, 3}));
  EXPECT_EQ(d.max_abs_value, 8.0f + 0.001f);
  EXPECT_TRUE(filled(R"({"timestamp":1,"mini_contracts":{"a":1}})").strike_prices.empty());
}

}  // namespace
}  // namespace ostrel

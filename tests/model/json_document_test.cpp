#include "model/json_document.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/json_number_guard.h"
#include "model/parse_gex_profile.h"
#include "sim/sim_host.h"

namespace ostrel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Number texts at the reader's limits: whether they parse, and to what.
struct NumberCase {
  const char* text;
  bool accepted;
  double value;
};

TEST(JsonDocument, ExtremeNumbers) {
  const NumberCase cases[] = {
      {"1e400", false, 0},
      {"-1e400", false, 0},
      {"1e99999999999", false, 0},
      {"1e-400", true, 0.0},
      {"-1e-400", true, -0.0},
      {"3.5e38", true, 3.5e38},
      {"9e308", true, kInf},  // 1.1.0 gives an infinite double rather than an error
      {"1.7976931348623157e308", true, 1.7976931348623157e308},
      {"1e-2147483649", true, 0.0},
      {"1e-99999999999999999999", true, 0.0},
      {"0.0000000001e-2147483639", true, 0.0},  // beyond the reader's exponent arithmetic
      {"-0.00000000001e-2147483638", true, -0.0},
      {"0e400", false, 0},  // the reader's limit holds for a zero significand too
      {"0.000000001e-2147483639", true, 0.0},  // one digit fewer: still in range
      {"123456789012345678901234567890", true, 1.2345678901234568e29},
      {"-9223372036854775809", true, -9223372036854775808.0},
      {"0.1", true, 0.1},
      {"-0", true, 0.0},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.text);
    json::JsonDocument doc;
    ASSERT_EQ(doc.parse(c.text), c.accepted);
    if (!c.accepted) continue;
    const double got = json::readNumber(&doc.root());
    if (std::isfinite(c.value)) {
      // The reader's default (not full) precision may miss the last bit of long significands.
      EXPECT_NEAR(got, c.value, std::fabs(c.value) * 1e-15);
      EXPECT_EQ(std::signbit(got), std::signbit(c.value));
    } else {
      EXPECT_EQ(got, c.value);
    }
  }
}

TEST(JsonDocument, LongFractionBeforeExponentIsStillRead) {
  // 400 zeros move the reader's exponent limit; the guard must not refuse this.
  const std::string text = "0." + std::string(400, '0') + "1e400";
  json::JsonDocument doc;
  ASSERT_TRUE(doc.parse(text.c_str()));
  EXPECT_DOUBLE_EQ(json::readNumber(&doc.root()), 0.1);
}

TEST(JsonDocument, DeepNestingNeedsNoStack) {
  // Far deeper than a 1 MiB stack allows the recursive reader: this runs on the test thread.
  const std::string open(100000, '[');
  json::JsonDocument doc;
  EXPECT_FALSE(doc.parse(open.c_str()));
  EXPECT_TRUE(doc.parse((open + std::string(100000, ']')).c_str()));
  EXPECT_TRUE(doc.root().IsArray());

  std::string objects;
  for (int i = 0; i < 100000; ++i) objects += "{\"a\":";
  objects += "1" + std::string(100000, '}');
  EXPECT_TRUE(doc.parse(objects.c_str()));
}

TEST(JsonDocument, TextEndsAtFirstNul) {
  const std::string valid_then_garbage("{\"a\":1}\0garbage", 15);
  const std::string cut_inside("{\"a\":1\0}", 8);
  json::JsonDocument doc;
  EXPECT_TRUE(doc.parse(valid_then_garbage.c_str()));
  EXPECT_FALSE(doc.parse(cut_inside.c_str()));
  EXPECT_FALSE(doc.parse(nullptr));
  EXPECT_TRUE(doc.root().IsNull());
}

TEST(JsonDocument, StringsAreNotValidated) {
  json::JsonDocument doc;
  ASSERT_TRUE(doc.parse("[\"\xFF\xC0\x80\xED\xA0\x80\"]"));
  ASSERT_TRUE(doc.parse(R"(["\udc00"])"));   // a lone low surrogate passes as bytes
  EXPECT_FALSE(doc.parse(R"(["\ud800"])"));  // a high one must be followed by a low one
  EXPECT_FALSE(doc.parse("[\"a\tb\"]"));     // raw control characters are refused
  ASSERT_TRUE(doc.parse(R"({"k":"A\u0000B"})"));
  const json::Value* k = json::findMember(&doc.root(), "k");
  EXPECT_STREQ(json::readString(k), "A");
  EXPECT_FALSE(json::stringEquals(k, "A"));
}

TEST(JsonDocument, AcceptsWhatTheDefaultParserAccepts) {
  const char* texts[] = {
      "",
      " ",
      "{}",
      "[]",
      "[1,2]",
      "[1,]",
      "{\"a\":1,}",
      "[1] [2]",
      "[1] x",
      " [1] \r\n\t",
      "[1]\f",
      "/*c*/[1]",
      "[NaN]",
      "[Infinity]",
      "[-]",
      "[1.]",
      "[.5]",
      "[01]",
      "[1e]",
      "[1e+]",
      "[-0.0e-0]",
      "[\"\\x\"]",
      "[\"\\u12\"]",
      "{\"a\"}",
      "{1:2}",
      "[true,false,null]",
      "[tru]",
      "nul",
      "\"\"",
      "[\"\\/\\b\\f\\n\\r\\t\\\"\\\\\"]",
      "\xEF\xBB\xBF[]",
      "[[[]]]]",
      "[[[]]",
      "{\"a\":{\"b\":[{}]}}",
      "18446744073709551616",
      "-",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    json::Document reference;  // default flags: the recursive reader
    reference.Parse(text);
    json::JsonDocument doc;
    EXPECT_EQ(doc.parse(text), !reference.HasParseError());
  }
}

struct GuardCase {
  std::string text;
  json::TextVerdict verdict;
};

TEST(JsonNumberGuard, FlagsOnlyTextsThatOverflowTheReader) {
  using json::TextVerdict;
  const GuardCase cases[] = {
      {"[0.0000000001e-2147483639]", TextVerdict::zero_numbers},
      {"[0.000000001e-2147483639]", TextVerdict::ok},
      {"[1.5e-2147483639]", TextVerdict::ok},
      {"[12345678901234567890.1234e-2147483639]", TextVerdict::ok},  // no fraction digits count
      {"[1.2345678901234567890123e-2147483639]", TextVerdict::zero_numbers},
      {"[\"0.0000000001e-2147483639\"]", TextVerdict::ok},  // inside a string
      {"[\"\\\"0.0000000001e-2147483639\"]", TextVerdict::ok},
      {"[1e99999999999]", TextVerdict::ok},  // the reader refuses it itself
      {"[1e-99999999999]", TextVerdict::ok},
      {"[-]", TextVerdict::ok},
      {"", TextVerdict::ok},
  };
  for (const GuardCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(json::checkJsonText(c.text.c_str(), c.text.size()), c.verdict);
  }
  EXPECT_EQ(json::checkJsonText("[1]", 2), TextVerdict::too_long);
  EXPECT_EQ(json::checkJsonText("[1]", 3), TextVerdict::ok);
}

TEST(JsonNumberGuard, PositiveExponentAfterAHugeFraction) {
#if !defined(NDEBUG)
  GTEST_SKIP() << "scans 215 MB: run in an optimised build";
#endif
  // 214,748,100 fraction digits raise the reader's exponent limit past the point where the
  // exponent itself overflows an int (the second exponent defect).
  std::string text = "0." + std::string(214748100, '0') + "1e";
  const std::size_t prefix = text.size();
  text += "2147483640";
  EXPECT_EQ(json::checkJsonText(text.c_str(), text.size()), json::TextVerdict::ok);
  text.resize(prefix);
  text += "2147483650";
  EXPECT_EQ(json::checkJsonText(text.c_str(), text.size()), json::TextVerdict::unsafe_number);
}

TEST(JsonDocument, HugeArrayOfStrikes) {
  std::string text = "{\"timestamp\":1,\"strikes\":[";
  for (int i = 0; i < 100000; ++i) {
    if (i != 0) text += ',';
    text += "[" + std::to_string(i) + ",1,-2,[1,2,3,4,5]]";
  }
  text += "]}";
  sim::SimHost sim;
  GexData data;
  const char* pointer = text.c_str();
  ASSERT_EQ(parseGexProfile(sim.host(), &pointer, &data), ParseOutcome::filled);
  EXPECT_EQ(data.strike_prices.size(), 100000u);
  EXPECT_EQ(data.priors.size(), 500000u);
  EXPECT_EQ(data.strike_prices.back(), 99999.0f);
}

}  // namespace
}  // namespace ostrel

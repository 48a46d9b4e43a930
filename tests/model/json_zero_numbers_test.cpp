// Numbers too small for the reader's exponent arithmetic are read as the zeros they are; no other
// text changes outcome, and the caller's text is never written.
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "fuzz/fuzz_targets.h"
#include "model/json_document.h"
#include "model/json_number_guard.h"
#include "model/parse_gex_profile.h"
#include "sim/sim_host.h"

namespace ostrel {
namespace {

constexpr const char* kTiny = "0.0000000001e-2147483639";  // the shortest such number

std::string withTiny(const std::string& pattern) {
  std::string out;
  for (const char c : pattern) {
    if (c == '@') {
      out += kTiny;
    } else {
      out += c;
    }
  }
  return out;
}

struct ZeroCase {
  const char* text;  // '@' stands for kTiny
  const char* same;  // the text it must read as, or null when it must be refused
};

TEST(JsonZeroNumbers, ReadAsZeroWhereverTheReaderWouldReachThem) {
  const ZeroCase cases[] = {
      {"@", "0.0"},
      {"-@", "-0.0"},
      {" @ \r\n", "0.0"},
      {"[1,@,\"x\",-@]", "[1,0.0,\"x\",-0.0]"},
      {"{\"a\":-1.2345678901234567890123E-2147483639,\"b\":2}", "{\"a\":-0.0,\"b\":2}"},
      {"[0.0000000001e-99999999999999999999]", "[0.0]"},  // the reader stops adding digits
      {"[0.00000000000000000000e-2147483639]", "[0.0]"},  // a zero significand
      {"[123456789012345678.0000000001E-2147483647]", "[0.0]"},
      {"{\"s\":\"@\",\"n\":@}", "{\"s\":\"@\",\"n\":0.0}"},  // strings keep their bytes
      {"[\"\\\"\",@]", "[\"\\\"\",0.0]"},
      {"{\"strikes\":[[5000,@,-@,[@,1]]]}", "{\"strikes\":[[5000,0.0,-0.0,[0.0,1]]]}"},
      // Everything else is refused as before: the zero never hides an error.
      {"[@ x]", nullptr},
      {"[@,]", nullptr},
      {"@.5", nullptr},
      {"@e5", nullptr},
      {"[@", nullptr},
      {"@ 0", nullptr},
      {"[\"\\x\",@]", nullptr},
      {"[tru @]", nullptr},
      {"{@:1}", nullptr},
      {"[0@]", nullptr},
      {"[-@-]", nullptr},
      {"[@,1e400]", nullptr},
      {"[1e400,@]", nullptr},
      {"[@,0e309]", nullptr},
      {"[@,1.]", nullptr},
  };
  for (const ZeroCase& c : cases) {
    const std::string text = withTiny(c.text);
    SCOPED_TRACE(text);
    const std::string before = text;
    json::JsonDocument doc;
    const bool accepted = doc.parse(text.c_str());
    EXPECT_EQ(text, before);  // parsed from a copy
    ASSERT_EQ(accepted, c.same != nullptr);
    if (!accepted) continue;
    json::Document expected;
    expected.Parse(withTiny(c.same).c_str());
    ASSERT_FALSE(expected.HasParseError());
    EXPECT_TRUE(fuzz::sameValue(doc.root(), expected));
  }
}

TEST(JsonZeroNumbers, RewriteKeepsEveryOtherByteInPlace) {
  std::string text = withTiny("[-@,\"@\",7e-2,@]");
  ASSERT_EQ(json::checkJsonText(text.c_str(), text.size()), json::TextVerdict::zero_numbers);
  json::rewriteZeroNumbers(&text[0]);
  const std::string pad(std::strlen(kTiny) - 3, ' ');
  EXPECT_EQ(text, "[-0.0" + pad + ",\"" + kTiny + "\",7e-2,0.0" + pad + "]");
  EXPECT_EQ(json::checkJsonText(text.c_str(), text.size()), json::TextVerdict::ok);
}

TEST(JsonZeroNumbers, AProfileWithATinyNumberIsDrawn) {
  const std::string text = withTiny(
      "{\"timestamp\":7,\"spot\":-@,\"zero_gamma\":5480.5,"
      "\"strikes\":[[5000,@,2.5,[1,@]],[5005,-1,@,[]]],\"max_priors\":[[5000,-@]]}");
  sim::SimHost sim;
  GexData data;
  const char* pointer = text.c_str();
  ASSERT_EQ(parseGexProfile(sim.host(), &pointer, &data), ParseOutcome::filled);
  EXPECT_EQ(data.spot, 0.0f);
  EXPECT_TRUE(std::signbit(data.spot));
  EXPECT_EQ(data.zero_gamma, 5480.5f);
  ASSERT_EQ(data.gex_vol.size(), 2u);
  EXPECT_EQ(data.gex_vol[0], 0.0f);
  EXPECT_EQ(data.gex_oi[1], 0.0f);
  ASSERT_EQ(data.priors.size(), 2u);
  EXPECT_EQ(data.priors[1], 0.0f);
  EXPECT_FLOAT_EQ(data.max_abs_vol, 1.001f);
  ASSERT_EQ(data.max_priors.size(), 1u);
  EXPECT_TRUE(std::signbit(data.max_priors[0][1]));
}

TEST(JsonZeroNumbers, ReferenceOracleFindsTheSameNumbers) {
  // The fuzzer's independent reading: the same zeros, and nothing else written over.
  EXPECT_EQ(fuzz::zeroTinyNumbers(withTiny("[-@,\"@\",1e-999,2e-1001,0e-5,0e-1000]")),
            "[-0.0" + std::string(std::strlen(kTiny) - 3, ' ') + ",\"" + kTiny +
                "\",1e-999,0.0    ,0e-5,0.0    ]");
  EXPECT_EQ(fuzz::zeroTinyNumbers("[00.1e-5000]"), "[00.0      ]");
}

}  // namespace
}  // namespace ostrel

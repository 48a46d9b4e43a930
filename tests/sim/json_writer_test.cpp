#include "sim/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace ostrel::sim {
namespace {

TEST(JsonWriterNumbers, FloatsPrintSoTheyReadBackExactly) {
  struct Case {
    float value;
    const char* token;
  };
  const Case cases[] = {
      {0.1f, "0.100000001"},
      {1e-45f, "1.40129846e-45"},  // smallest subnormal
      {3.4e38f, "3.39999995e+38"},
      {std::numeric_limits<float>::max(), "3.40282347e+38"},
      {6050.0f, "6050"},
      {5480.5f, "5480.5"},
      {1e7f, "10000000"},
      {1099511627776.0f, "1.09951163e+12"},  // 2^40
      {-2.5e-5f, "-2.49999994e-05"},
      {0.0f, "0"},
      {-0.0f, "-0"},
      {std::numeric_limits<float>::infinity(), "\"inf\""},
      {-std::numeric_limits<float>::infinity(), "\"-inf\""},
      {std::numeric_limits<float>::quiet_NaN(), "\"nan\""},
      {-std::numeric_limits<float>::quiet_NaN(), "\"nan\""},
  };
  for (const Case& c : cases) {
    const std::string token = floatToken(c.value);
    EXPECT_EQ(token, c.token);
    if (std::isfinite(c.value)) {
      const float back = std::strtof(token.c_str(), nullptr);
      EXPECT_EQ(std::memcmp(&back, &c.value, sizeof back), 0) << token;
    }
  }
}

TEST(JsonWriterNumbers, DoublesKeepSeventeenDigits) {
  EXPECT_EQ(doubleToken(0.3958333333333333), "0.39583333333333331");
  EXPECT_EQ(doubleToken(0.0), "0");
  EXPECT_EQ(doubleToken(1e300), "1.0000000000000001e+300");
  EXPECT_EQ(doubleToken(-std::numeric_limits<double>::infinity()), "\"-inf\"");
}

TEST(JsonWriterStrings, EscapesQuotesBackslashesAndControlBytesOnly) {
  static const char kRaw[] = "a\"b\\c\n\t\x01\x1f\x7f\xc3\xa9z\0end";
  const std::string raw(kRaw, sizeof kRaw - 1);
  std::string out;
  appendJsonString(out, raw.data(), raw.size());
  EXPECT_EQ(out, "\"a\\\"b\\\\c\\u000a\\u0009\\u0001\\u001f\x7f\xc3\xa9z\\u0000end\"");
}

TEST(JsonWriterLayout, BlockContainersIndentAndInlineOnesStayOnOneLine) {
  JsonWriter w;
  w.beginObject();
  w.key("calls");
  w.beginArray();
  w.beginObject(/*inline_container=*/true);
  w.key("n");
  w.integer(-3);
  w.key("list");
  w.beginArray();  // inside an inline container: inline too
  w.boolean(true);
  w.null();
  w.endArray();
  w.endObject();
  w.endArray();
  w.key("empty");
  w.beginArray();
  w.endArray();
  w.key("text");
  w.value(static_cast<const char*>(nullptr));
  w.key("f");
  w.number(0.5f);
  w.endObject();
  EXPECT_EQ(w.text(),
            "{\n"
            "  \"calls\": [\n"
            "    {\"n\": -3, \"list\": [true, null]}\n"
            "  ],\n"
            "  \"empty\": [],\n"
            "  \"text\": null,\n"
            "  \"f\": 0.5\n"
            "}\n");
}

}  // namespace
}  // namespace ostrel::sim

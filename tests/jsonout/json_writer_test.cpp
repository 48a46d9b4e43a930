#include "jsonout/json_writer.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace ostrel {
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

TEST(JsonWriterNumbers, FixedTrimsZerosAndNeverPrintsNonFinite) {
  EXPECT_EQ(fixedToken(1.5, 2), "1.5");
  EXPECT_EQ(fixedToken(2.0, 3), "2");
  EXPECT_EQ(fixedToken(-0.0001, 2), "0");
  EXPECT_EQ(fixedToken(0.1234567, 6), "0.123457");
  EXPECT_EQ(fixedToken(std::nan(""), 2), "0");
  EXPECT_EQ(fixedToken(-std::numeric_limits<double>::infinity(), 2), "0");
  EXPECT_EQ(fixedToken(-std::numeric_limits<double>::max(), 0).size(), 310u);
}

std::string oneString(const std::string& raw) {
  JsonWriter w(JsonWriter::Layout::one_line);
  w.value(raw);
  return w.text();
}

TEST(JsonWriterStrings, EscapesQuotesBackslashesAndEveryControlAsLowercaseHex) {
  static const char kRaw[] = "a\"b\\c\n\t\r\b\f\x01\x1f\x7f\xc3\xa9z/\0end";
  EXPECT_EQ(oneString(std::string(kRaw, sizeof kRaw - 1)),
            "\"a\\\"b\\\\c\\u000a\\u0009\\u000d\\u0008\\u000c\\u0001\\u001f\x7f\xc3\xa9z/"
            "\\u0000end\"");
}

TEST(JsonWriterStrings, InvalidUtf8IsRepairedInValuesAndKeys) {
  EXPECT_EQ(oneString("Caf\xE9 \xED\xA0\x80!\n\xC3"),
            "\"Caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD!\\u000a\xEF\xBF\xBD\"");
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject().key("k\xFF").value("\xF4\x90\x80\x80", 4).endObject();
  EXPECT_EQ(w.text(), "{\"k\xEF\xBF\xBD\": \"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"}");
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseValidateEncodingFlag>(w.text().c_str());
  EXPECT_FALSE(doc.HasParseError()) << rapidjson::GetParseError_En(doc.GetParseError());
}

TEST(JsonWriterStructure, MisuseThrowsInsteadOfWritingBrokenJson) {
  {
    JsonWriter w;
    w.beginObject();
    EXPECT_THROW(w.integer(1), std::logic_error);  // a member without a key
  }
  {
    JsonWriter w;
    w.beginArray();
    EXPECT_THROW(w.endObject(), std::logic_error);
  }
  {
    JsonWriter w;
    w.beginObject().key("dangling");
    EXPECT_THROW(w.endObject(), std::logic_error);
  }
  {
    JsonWriter w;
    w.null();
    EXPECT_THROW(w.null(), std::logic_error);  // a second root
  }
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

TEST(JsonWriterLayout, OneLineHasEverythingInlineAndNoNewline) {
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject().key("a").beginArray().fixed(1.5).integer(-7).beginArray().endArray().endArray();
  w.key("b").beginObject().key("c").number(std::numeric_limits<float>::infinity()).endObject();
  w.endObject();
  EXPECT_EQ(w.text(), "{\"a\": [1.5, -7, []], \"b\": {\"c\": \"inf\"}}");
}

}  // namespace
}  // namespace ostrel

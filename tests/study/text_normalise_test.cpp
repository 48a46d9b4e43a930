#include "study/text_normalise.h"

#include <cstddef>
#include <string>

#include <gtest/gtest.h>

namespace ostrel {
namespace {

struct NormaliseRow {
  const char* input;
  const char* text;    // normaliseText
  const char* ticker;  // normaliseTicker
};

TEST(TextNormalise, TrimsBlanksAndUpperCasesLetters) {
  const NormaliseRow rows[] = {
      {"  es_spx\t", "ES_SPX", "ES_SPX"},
      {" es spx ", "ES SPX", "ES SPX"},
      {"\r\n\tnq \r\n", "NQ", "NQ"},
      {"   ", "", "SPX"},
      {"", "", "SPX"},
      {"\f", "\f", "\f"},                 // form feed is not trimmed
      {"\vspx\v", "\vSPX\v", "\vSPX\v"},  // nor vertical tab
      {"aapl1-z{}", "AAPL1-Z{}", "AAPL1-Z{}"},
      {"\xc3\xa9s", "\xc3\xa9S", "\xc3\xa9S"},  // bytes above 127 unchanged
      {"Unset", "UNSET", "UNSET"},
  };
  for (const NormaliseRow& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_STREQ(normaliseText(row.input).c_str(), row.text);
    EXPECT_STREQ(normaliseTicker(row.input).c_str(), row.ticker);
  }
}

TEST(TextNormalise, LongTextsLeaveTheInlineBuffer) {
  // 31 bytes fit inside the object; 32 and more go to the heap, read the same way.
  for (const std::size_t length : {std::size_t{31}, std::size_t{32}, std::size_t{300}}) {
    SCOPED_TRACE(length);
    const std::string input = "  " + std::string(length - 1, 'q') + "z\t";
    const std::string expected = std::string(length - 1, 'Q') + "Z";
    const NormalisedText text = normaliseText(input.c_str());
    EXPECT_EQ(text.on_heap(), length > NormalisedText::kInlineCapacity);
    EXPECT_EQ(text.size(), length);
    EXPECT_EQ(std::string(text.c_str()), expected);
    const NormalisedText copy = text;  // copies stay independent of the original's storage
    EXPECT_EQ(std::string(copy.c_str()), expected);
    EXPECT_NE(copy.c_str(), text.c_str());
  }
  EXPECT_FALSE(normaliseTicker("spx").on_heap());
  EXPECT_FALSE(normaliseTicker("").on_heap());
}

TEST(TextNormalise, NullReadsAsEmpty) {
  EXPECT_STREQ(normaliseText(nullptr).c_str(), "");
  EXPECT_STREQ(normaliseTicker(nullptr).c_str(), "SPX");
}

}  // namespace
}  // namespace ostrel

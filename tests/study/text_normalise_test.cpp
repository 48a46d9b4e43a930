#include "study/text_normalise.h"

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

TEST(TextNormalise, NullReadsAsEmpty) {
  EXPECT_STREQ(normaliseText(nullptr).c_str(), "");
  EXPECT_STREQ(normaliseTicker(nullptr).c_str(), "SPX");
}

}  // namespace
}  // namespace ostrel

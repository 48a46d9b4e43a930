#include "service/log_excerpt.h"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

std::string excerpt(const std::string& text, const char* key = "") {
  return logExcerpt(text.c_str(), key).c_str();
}

TEST(LogExcerpt, TextsUpToOneKibibyteAreShownWhole) {
  const std::string kib(kLogExcerptBytes, 'a');
  EXPECT_EQ(excerpt(""), "");
  EXPECT_EQ(excerpt(kib), kib);
  EXPECT_EQ(logExcerpt(nullptr, nullptr).c_str(), std::string());
}

TEST(LogExcerpt, LongerTextsShowTheirFirstKibibyteAndFullLength) {
  const std::string head(kLogExcerptBytes, 'b');
  EXPECT_EQ(excerpt(head + "c"), head + "... (1025 bytes)");
  EXPECT_EQ(excerpt(head + std::string(4 * 1024 * 1024, 'c')), head + "... (4195328 bytes)");
}

TEST(LogExcerpt, CutNeverSplitsAUtf8Sequence) {
  struct Case {
    std::size_t lead_at;  // where the sequence begins
    const char* sequence;
    std::size_t kept;
  } cases[] = {
      {kLogExcerptBytes - 1, "\xC3\xA9", kLogExcerptBytes - 1},
      {kLogExcerptBytes - 2, "\xF0\x9F\x98\x80", kLogExcerptBytes - 2},
      {kLogExcerptBytes - 3, "\xF0\x9F\x98\x80", kLogExcerptBytes - 3},
      {kLogExcerptBytes - 4, "\xF0\x9F\x98\x80", kLogExcerptBytes},  // ends at the cut
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lead_at);
    const std::string text = std::string(c.lead_at, 'x') + c.sequence + std::string(50, 'y');
    const std::string shown = excerpt(text);
    EXPECT_EQ(shown.substr(0, c.kept), text.substr(0, c.kept));
    EXPECT_EQ(shown.substr(c.kept), "... (" + std::to_string(text.size()) + " bytes)");
  }
}

TEST(LogExcerpt, ApiKeyIsReplacedAlsoAcrossTheCut) {
  const char* key = "key-0123456789";
  EXPECT_EQ(excerpt("bad key key-0123456789!", key), "bad key ***!");
  EXPECT_EQ(excerpt("abc", "ab"), "abc");  // too short to be a secret
  // A key that begins just before the cut is replaced whole, not shown in part.
  const std::string text = std::string(kLogExcerptBytes - 3, 'z') + key + "tail";
  const std::string shown = excerpt(text, key);
  EXPECT_EQ(shown.find("key-"), std::string::npos);
  EXPECT_EQ(shown, std::string(kLogExcerptBytes - 3, 'z') + "***... (" +
                       std::to_string(text.size()) + " bytes)");
}

}  // namespace
}  // namespace ostrel

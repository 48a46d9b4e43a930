#include "jsonout/utf8_repair.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace ostrel {
namespace {

#define R "\xEF\xBF\xBD"

struct Case {
  const char* name;
  std::string input;
  std::string repaired;
};

std::string bytes(const char* text, std::size_t length) { return std::string(text, length); }

TEST(Utf8Repair, EachMaximalSubpartBecomesOneReplacement) {
  const Case cases[] = {
      {"empty", "", ""},
      {"ascii", "Rate limited", "Rate limited"},
      {"embedded NUL kept", bytes("a\0b", 3), bytes("a\0b", 3)},
      {"two to four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"edges of the ranges", "\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF",
       "\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF"},
      {"stray continuation bytes",
       "a\x80\xBF"
       "b",
       "a" R R "b"},
      {"bytes that start nothing", "\xC0\xC1\xF5\xF8\xFE\xFF", R R R R R R},
      {"overlong two bytes", "\xC0\xAF\xC1\xBF", R R R R},
      {"overlong three bytes", "\xE0\x80\xAF\xE0\x9F\xBF", R R R R R R},
      {"overlong four bytes", "\xF0\x80\x80\xAF\xF0\x8F\xBF\xBF", R R R R R R R R},
      {"surrogates", "\xED\xA0\x80\xED\xBF\xBF", R R R R R R},
      {"surrogate pair in CESU form", "\xED\xA0\xBD\xED\xB8\x80", R R R R R R},
      {"above U+10FFFF", "\xF4\x90\x80\x80\xF7\xBF\xBF\xBF", R R R R R R R R},
      {"five- and six-byte forms", "\xF8\x88\x80\x80\x80\xFC\x84\x80\x80\x80\x80",
       R R R R R R R R R R R},
      {"truncated at the end", "x\xE2\x82", "x" R},
      {"truncated four bytes at the end", "\xF0\x9F\x98", R},
      {"lead alone at the end", "\xC3", R},
      {"truncated before ASCII",
       "\xE2\x82"
       "A\xF0\x9F\x98"
       "B",
       R "A" R "B"},
      {"truncated before a lead", "\xE2\x82\xE2\x82\xAC", R "\xE2\x82\xAC"},
      {"truncated before NUL", bytes("\xC3\0", 2), bytes(R "\0", 4)},
      {"Unicode's example",
       "a\xF1\x80\x80\xE1\x80\xC2"
       "b\x80"
       "c\x80\xBF"
       "d",
       "a" R R R "b" R "c" R R "d"},
      {"latin-1 text", "Caf\xE9 na\xEFve", "Caf" R " na" R "ve"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(repairedUtf8(c.input), c.repaired);
    EXPECT_EQ(isValidUtf8(c.input.data(), c.input.size()), c.input == c.repaired);
    EXPECT_TRUE(isValidUtf8(c.repaired.data(), c.repaired.size()));
  }
}

// The shortest encoding of a code point, and the longer (overlong) forms of it.
std::string encode(std::uint32_t cp, int length) {
  std::string out;
  if (length == 1) return std::string(1, static_cast<char>(cp));
  static const unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  out.push_back(static_cast<char>(kLead[length] | (cp >> (6 * (length - 1)))));
  for (int k = length - 2; k >= 0; --k) {
    out.push_back(static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F)));
  }
  return out;
}

int shortest(std::uint32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

TEST(Utf8Repair, EveryCodePointInEveryEncodingLength) {
  for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    for (int length = shortest(cp); length <= 4; ++length) {
      const std::string text = encode(cp, length);
      const bool valid = length == shortest(cp) && !surrogate;
      ASSERT_EQ(isValidUtf8(text.data(), text.size()), valid) << std::hex << cp << " " << length;
      if (!valid) {
        // No prefix of an overlong or surrogate form can be completed: one U+FFFD per byte.
        std::string expected;
        for (int k = 0; k < length; ++k) expected += R;
        ASSERT_EQ(repairedUtf8(text), expected) << std::hex << cp << " " << length;
      }
    }
  }
}

TEST(Utf8Repair, AnyTwoBytesRepairToValidTextAndRepairAgainToThemselves) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string text{static_cast<char>(a), static_cast<char>(b)};
      const std::string once = repairedUtf8(text);
      ASSERT_TRUE(isValidUtf8(once.data(), once.size())) << a << " " << b;
      ASSERT_EQ(repairedUtf8(once), once);
      ASSERT_EQ(once == text, isValidUtf8(text.data(), text.size()));
      ASSERT_LE(once.size(), 3 * text.size());
    }
  }
}

#undef R

}  // namespace
}  // namespace ostrel

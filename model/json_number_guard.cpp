#include "model/json_number_guard.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace ostrel::json {
namespace {

constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }
unsigned digit(char c) noexcept { return static_cast<unsigned>(c - '0'); }

enum class Token {
  plain,     // the reader's arithmetic holds
  zero,      // the exponent sum falls below the int range: the value is 0 (or -0)
  too_large  // refused (see the header)
};

// Replays the reader's number token starting at `s` (a '-' or a digit) and returns the first
// byte after it. The thresholds and the significand bookkeeping are the reader's, since they
// decide how far the fraction counter moves. Returns early, as plain, where the reader reports
// an error of its own.
const char* scanNumber(const char* s, Token& token) noexcept {
  const bool minus = *s == '-';
  if (minus) ++s;

  unsigned i = 0;
  std::uint64_t i64 = 0;
  bool use64 = false;
  int significand_digits = 0;
  if (*s == '0') {
    ++s;
  } else if (*s >= '1' && *s <= '9') {
    i = digit(*s++);
    const unsigned limit = minus ? 214748364u : 429496729u;
    const char last = minus ? '8' : '5';
    while (isDigit(*s)) {
      if (i >= limit && (i != limit || *s > last)) {
        i64 = i;
        use64 = true;
        break;
      }
      i = i * 10 + digit(*s++);
      ++significand_digits;
    }
  } else {
    return s;  // the reader: invalid value
  }

  bool use_double = false;
  double d = 0.0;
  if (use64) {
    const std::uint64_t limit = minus ? 0x0CCCCCCCCCCCCCCCull : 0x1999999999999999ull;
    const char last = minus ? '8' : '5';
    while (isDigit(*s)) {
      if (i64 >= limit && (i64 != limit || *s > last)) {
        d = static_cast<double>(i64);
        use_double = true;
        break;
      }
      i64 = i64 * 10 + digit(*s++);
      ++significand_digits;
    }
  }
  if (use_double) {
    while (isDigit(*s)) {
      if (d >= 1.7976931348623157e307) return s;  // the reader: number too big
      d = d * 10 + digit(*s++);
    }
  }

  std::int64_t exp_frac = 0;
  if (*s == '.') {
    ++s;
    if (!isDigit(*s)) return s;  // the reader: missing fraction
    if (!use_double) {
      if (!use64) i64 = i;
      while (isDigit(*s)) {
        if (i64 > 0x1FFFFFFFFFFFFFull) break;
        i64 = i64 * 10 + digit(*s++);
        --exp_frac;
        if (i64 != 0) ++significand_digits;
      }
      d = static_cast<double>(i64);
    }
    while (isDigit(*s)) {
      if (significand_digits < 17) {
        d = d * 10.0 + digit(*s);
        --exp_frac;
        if (d > 0.0) ++significand_digits;
      }
      ++s;
    }
    if (exp_frac < kIntMin) {
      token = Token::too_large;
      return s;
    }
  }

  if (*s == 'e' || *s == 'E') {
    ++s;
    bool exp_minus = false;
    if (*s == '+') {
      ++s;
    } else if (*s == '-') {
      exp_minus = true;
      ++s;
    }
    if (!isDigit(*s)) return s;  // the reader: missing exponent
    std::int64_t exp = digit(*s++);
    if (exp_minus) {
      while (isDigit(*s)) {
        exp = exp * 10 + digit(*s++);
        if (exp >= 214748364) {
          while (isDigit(*s)) ++s;  // the reader drops the rest
        }
      }
      // A significand below 10^309 (the reader refuses larger ones) times 10^(-2^31) or less
      // is far below the smallest double: exactly what the reader gives every such number.
      if (exp_frac - exp < kIntMin) token = Token::zero;
    } else {
      const std::int64_t max_exp = 308 - exp_frac;
      if (max_exp > kIntMax) {
        token = Token::too_large;
        return s;
      }
      while (isDigit(*s)) {
        exp = exp * 10 + digit(*s++);
        if (exp > kIntMax) {
          // Past every limit the reader can hold: its own rule (exp > max_exp) refuses it.
          token = Token::too_large;
          return s;
        }
        if (exp > max_exp) return s;  // the reader: number too big
      }
    }
  }
  return s;
}

// The end of -?[0-9]*(.[0-9]*)? from `s`. Where this ends before an 'e' or 'E', the token
// has no exponent, and the reader's fraction counter moves at most once per digit.
const char* plainNumberEnd(const char* s) noexcept {
  if (*s == '-') ++s;
  while (isDigit(*s)) ++s;
  if (*s == '.') {
    ++s;
    while (isDigit(*s)) ++s;
  }
  return s;
}

// Far below the 2^31 fraction digits that the counter would need to overflow.
constexpr std::ptrdiff_t kPlainTokenLimit = std::ptrdiff_t{1} << 30;

// Every token the reader could overflow on has an exponent, and the byte before its 'e' or 'E'
// is a digit (or it is 2^30 bytes long). A text without such a byte anywhere, strings included,
// is safe without a token scan; most answers carry 'e' only in their keys.
bool mayHoldExponent(const char* text, std::size_t length) noexcept {
  if (length >= static_cast<std::size_t>(kPlainTokenLimit)) return true;
  for (const char marker : {'e', 'E'}) {
    const char* p = text;
    const char* const end = text + length;
    while (p < end) {
      const void* found = std::memchr(p, marker, static_cast<std::size_t>(end - p));
      if (found == nullptr) break;
      const char* e = static_cast<const char*>(found);
      if (e > text && isDigit(e[-1])) return true;
      p = e + 1;
    }
  }
  return false;
}

// Writes, over the token [begin, end), "0.0" or "-0.0" followed by spaces: the same value, read
// as a double, and the same length, so every other byte keeps its place.
void writeZero(char* begin, const char* end) noexcept {
  char* p = begin;
  if (*p == '-') ++p;
  *p++ = '0';
  *p++ = '.';
  *p++ = '0';
  while (p < end) *p++ = ' ';
}

// Scans `text` (its first `length` bytes, up to its NUL) for number tokens that overflow the
// reader. With `rewrite` (the same text, writable), every zero token is written over in place.
TextVerdict scanText(const char* text, std::size_t length, char* rewrite) noexcept {
  if (!mayHoldExponent(text, length)) return TextVerdict::ok;

  TextVerdict verdict = TextVerdict::ok;
  const char* p = text;
  while (*p != '\0') {
    const char c = *p;
    if (c == '"') {
      ++p;
      while (*p != '\0' && *p != '"') {
        if (*p == '\\' && p[1] != '\0') ++p;
        ++p;
      }
      if (*p != '\0') ++p;
    } else if (c == '-' || isDigit(c)) {
      // Only an exponent, or a fraction of more than 2^31 digits, can overflow the reader's
      // counters; every other token is skipped without replaying its arithmetic.
      const char* end = plainNumberEnd(p);
      if (*end != 'e' && *end != 'E' && end - p < kPlainTokenLimit) {
        p = end;
        continue;
      }
      Token token = Token::plain;
      const char* const begin = p;
      p = scanNumber(p, token);
      if (token == Token::too_large) return TextVerdict::unsafe_number;
      if (token == Token::zero) {
        verdict = TextVerdict::zero_numbers;
        // The minimal zero token is "0.0000000001e-2147483639": room for "-0.0".
        if (rewrite != nullptr) writeZero(rewrite + (begin - text), p);
      }
    } else {
      ++p;
    }
  }
  return verdict;
}

}  // namespace

TextVerdict checkJsonText(const char* text, std::size_t max_length) noexcept {
  if (text == nullptr) return TextVerdict::ok;
  const std::size_t length = std::strlen(text);
  if (length > max_length) return TextVerdict::too_long;
  return scanText(text, length, nullptr);
}

void rewriteZeroNumbers(char* text) noexcept {
  if (text == nullptr) return;
  scanText(text, std::strlen(text), text);
}

}  // namespace ostrel::json

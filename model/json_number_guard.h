// A pre-scan for the integer overflows in RapidJSON 1.1.0's number reader (see json_document.h).
//
// The scan walks the text as the reader does: outside strings, every '-' or digit starts a number
// token, which is replayed digit by digit with the reader's own significand bookkeeping, but with
// the decimal-exponent counters held in 64 bits. A text is unsafe when, for some token, the
// reader's int arithmetic would overflow: the fraction-digit counter, the positive-exponent
// limit (308 minus that counter), the positive exponent itself, or the final exponent sum. Tokens
// that the reader rejects on its own (a missing fraction, "1e400", a significand past DBL_MAX)
// are not unsafe; the parse then fails as usual. Where the scan and the reader could disagree on
// token boundaries, the reader has already failed on an earlier byte, so the verdict for a text
// that the reader would accept is exact.
//
// Linear in the text, no allocation, no recursion. Stops at the first NUL or after `max_length`
// bytes.
#pragma once

#include <cstddef>

namespace ostrel::json {

enum class TextVerdict {
  ok,            // safe to hand to the reader
  too_long,      // more than `max_length` bytes before the first NUL
  unsafe_number  // a number token would overflow the reader's exponent arithmetic
};

TextVerdict checkJsonText(const char* text, std::size_t max_length) noexcept;

}  // namespace ostrel::json

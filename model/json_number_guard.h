// A pre-scan for the integer overflows in RapidJSON 1.1.0's number reader (see json_document.h).
//
// The scan walks the text as the reader does: outside strings, every '-' or digit starts a number
// token, which is replayed digit by digit with the reader's own significand bookkeeping, but with
// the decimal-exponent counters held in 64 bits. Where the reader's int arithmetic would
// overflow, the token's exact reading decides:
//
// - A negative exponent whose sum with the fraction-digit count falls below INT_MIN (for example
//   "0.0000000001e-2147483639"): the value is below 10^-2147483000, and the reader gives every
//   number below the smallest double 0.0, or -0.0 after a '-'. Such a token is a zero number:
//   rewriteZeroNumbers() writes "0.0" or "-0.0" over it (spaces fill the rest), which the reader
//   reads as exactly that double, with nothing else in the text moved.
// - A positive exponent that would leave the int range: the reader's own rule refuses any
//   exponent above 308 plus the fraction digits (even after a zero significand: "0e400" is a parse
//   error), and an exponent past INT_MAX is above that, so the text is refused, as the reader
//   would with exact arithmetic.
// - A fraction of more than 2,147,483,339 counted digits (a text of over 2 GiB; beyond 2^31 the
//   length limit refuses it first): the reader's exponent limit itself overflows, and the text is
//   refused.
//
// Tokens that the reader rejects on its own (a missing fraction, "1e400", a significand past
// DBL_MAX) count as plain; the parse then fails as usual. Where the scan and the reader could
// disagree on token boundaries, the reader has already failed on an earlier byte, which no
// rewrite touches, so for every text the verdict and the rewrite are exact.
//
// Linear in the text, no allocation, no recursion. Stops at the first NUL or after `max_length`
// bytes.
#pragma once

#include <cstddef>

namespace ostrel::json {

enum class TextVerdict {
  ok,            // safe to hand to the reader
  too_long,      // more than `max_length` bytes before the first NUL
  zero_numbers,  // safe once rewriteZeroNumbers() has run on a copy
  unsafe_number  // a number token is out of range: refused
};

TextVerdict checkJsonText(const char* text, std::size_t max_length) noexcept;

// Writes over every zero number token in `text` (NUL-terminated, writable), as described above.
void rewriteZeroNumbers(char* text) noexcept;

}  // namespace ostrel::json

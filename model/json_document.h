// JsonDocument: the one way the service's answers are parsed. Every answer is hostile input, and
// the study may run on a host thread with as little as 1 MiB of stack, so the installed RapidJSON
// (Debian's 1.1.0+dfsg2) is used only through this wrapper, which adds these guards:
//
// - Nesting: RapidJSON's default parser recurses once per nesting level; 100,000 '[' would
//   exhaust the stack. Its iterative parser keeps its state on the heap and accepts exactly the
//   texts the default flags accept (same grammar: no comments, NaN/Infinity, trailing commas; one
//   value with only whitespace after it), but is 20 to 40% slower. So a text is parsed by the
//   recursive parser with a nesting count that stops it when a value would open deeper than
//   kRecursiveParseDepth levels; only such a text is parsed again, iteratively. A level costs
//   64 to 128 bytes of stack (optimised to sanitised builds), so the recursion stays within
//   32 KiB; every real answer is at most four levels deep.
// - Destruction: values live in a MemoryPoolAllocator, whose values free nothing one by one, so
//   destroying a deeply nested document does not recurse either (the pool is dropped in chunks).
// - Number exponents (CVE-2024-38517, CVE-2024-39684; not patched in this Debian package):
//   GenericReader::ParseNumber keeps the decimal exponent in an int. A negative exponent near
//   INT_MIN plus the count of fraction digits ("0.0000000001e-2147483639") overflows it, which is
//   undefined behaviour and in practice wraps to a huge positive power of ten that indexes past
//   the Pow10 table. A positive exponent after enough fraction digits overflows the same way.
//   Before parsing, a pre-scan (json_number_guard.h) replays the reader's exponent arithmetic in
//   64 bits. A number too small for that arithmetic is plainly 0 (or -0), and is read as such, as
//   current upstream RapidJSON does: the text is parsed from a copy in which only such numbers
//   are rewritten. A number too large for it is out of range and refused as a parse error, which
//   is what the reader does with any exponent beyond its limit. No other text changes outcome.
// - Length: texts longer than HostString::kMaxLength (2,147,483,646 bytes, the most the host
//   carries) are refused before parsing, which keeps RapidJSON's 32-bit string lengths, element
//   counts and fraction-digit counter from wrapping.
// - Memory failure: 1.1.0 writes through the null pointer its pool returns when the system is out
//   of memory. Our base allocator throws std::bad_alloc instead, which parse() passes on: running
//   out of memory says nothing about the answer, so it must not read as the service's parse
//   error (RapidJSON's reader and stacks release their storage during unwinding).
// - Parse stack: 1.1.0's internal::Stack does pointer arithmetic on null before its first
//   allocation (undefined behaviour on every parse); json_allocator.h replaces it for our
//   allocator.
// - SIMD: RapidJSON's SSE2/SSE4.2 whitespace skippers read aligned 16-byte blocks past the
//   terminating NUL; they must stay disabled (checked below).
//
// Only the bytes before the first NUL are parsed; a null text reads as the empty text, which is a
// parse error. Strings are not checked for valid UTF-8 (the default flags do not), and may hold
// "\u0000": readString() gives the text up to the first NUL, which is what any log line shows.
#pragma once

#include <cstddef>
#include <memory>

// First: it specialises RapidJSON's parse stack for our allocator.
#include "model/json_allocator.h"

#include <rapidjson/document.h>

#if defined(RAPIDJSON_SSE2) || defined(RAPIDJSON_SSE42) || defined(RAPIDJSON_NEON)
#error "RapidJSON's SIMD whitespace skipping reads past the end of the text; keep it disabled."
#endif

namespace ostrel::json {

using Allocator = rapidjson::MemoryPoolAllocator<ThrowingAllocator>;
using Value = rapidjson::GenericValue<rapidjson::UTF8<>, Allocator>;
using Document = rapidjson::GenericDocument<rapidjson::UTF8<>, Allocator, ThrowingAllocator>;

// The deepest nesting that the recursive parser is allowed to reach.
constexpr std::size_t kRecursiveParseDepth = 256;

class JsonDocument {
 public:
  JsonDocument() noexcept;
  ~JsonDocument();
  JsonDocument(const JsonDocument&) = delete;
  JsonDocument& operator=(const JsonDocument&) = delete;

  // True when `text` holds exactly one JSON value (see the guards above). On false, root() is a
  // JSON null. Throws std::bad_alloc when memory runs out.
  bool parse(const char* text);
  const Value& root() const noexcept;

 private:
  std::unique_ptr<Document> document_;
  Value null_value_;
};

// Member lookup: the first member named `name`, or null when `object` is null, not an object or
// has no such member.
const Value* findMember(const Value* object, const char* name) noexcept;

// Any JSON number as double; everything else (absent, null, true, false, string, array, object)
// reads 0.0, as a missing field does.
inline double readNumber(const Value* value) noexcept {
  return value != nullptr && value->IsNumber() ? value->GetDouble() : 0.0;
}

// A string's text (up to its first NUL), or null when `value` is not a string.
const char* readString(const Value* value) noexcept;

// True when `value` is a string equal, byte for byte and in length, to `expected`.
bool stringEquals(const Value* value, const char* expected) noexcept;

// The array's element count, or 0 when `value` is not an array.
inline std::size_t arraySize(const Value* value) noexcept {
  return value != nullptr && value->IsArray() ? value->Size() : 0;
}

// Element `index` of an array (index < arraySize(value)).
inline const Value& arrayElement(const Value& array, std::size_t index) noexcept {
  return array[static_cast<rapidjson::SizeType>(index)];
}

// True for an object with at least one member.
bool isNonEmptyObject(const Value* value) noexcept;

}  // namespace ostrel::json

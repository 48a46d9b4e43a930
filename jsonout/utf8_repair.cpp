#include "jsonout/utf8_repair.h"

namespace ostrel {
namespace {

using Byte = unsigned char;

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Length of the well-formed sequence that `lead` starts (0: it starts none), and the range the
// first continuation byte must lie in; later continuation bytes are always 80..BF. The narrowed
// second-byte ranges exclude overlong forms (E0, F0), surrogates (ED) and values past U+10FFFF
// (F4).
struct LeadRule {
  int length;
  Byte low;
  Byte high;
};

LeadRule ruleFor(Byte lead) noexcept {
  if (lead < 0x80) return {1, 0, 0};
  if (lead < 0xC2) return {0, 0, 0};
  if (lead < 0xE0) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead < 0xF0) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead < 0xF4) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// Bytes of the sequence starting at text[i] that fit the pattern of its lead byte: the whole
// sequence when it is well-formed, otherwise the maximal subpart (at least 1).
std::size_t fittingBytes(const Byte* text, std::size_t length, std::size_t i, bool& complete) {
  const LeadRule rule = ruleFor(text[i]);
  complete = rule.length == 1;
  if (rule.length <= 1) return 1;
  std::size_t taken = 1;
  while (taken < static_cast<std::size_t>(rule.length) && i + taken < length) {
    const Byte next = text[i + taken];
    const Byte low = taken == 1 ? rule.low : Byte{0x80};
    const Byte high = taken == 1 ? rule.high : Byte{0xBF};
    if (next < low || next > high) break;
    ++taken;
  }
  complete = taken == static_cast<std::size_t>(rule.length);
  return taken;
}

}  // namespace

bool isValidUtf8(const char* text, std::size_t length) noexcept {
  const Byte* bytes = reinterpret_cast<const Byte*>(text);
  std::size_t i = 0;
  while (i < length) {
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    bool complete = false;
    i += fittingBytes(bytes, length, i, complete);
    if (!complete) return false;
  }
  return true;
}

void repairUtf8(const char* text, std::size_t length, std::string& out) {
  const Byte* bytes = reinterpret_cast<const Byte*>(text);
  out.clear();
  out.reserve(length);
  std::size_t i = 0;
  while (i < length) {
    bool complete = false;
    const std::size_t taken = fittingBytes(bytes, length, i, complete);
    if (complete) {
      out.append(text + i, taken);
    } else {
      out.append(kReplacement, sizeof kReplacement - 1);
    }
    i += taken;
  }
}

std::string repairedUtf8(const std::string& text) {
  std::string out;
  repairUtf8(text.data(), text.size(), out);
  return out;
}

}  // namespace ostrel

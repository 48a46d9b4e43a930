#include "study/text_normalise.h"

#include <cstddef>
#include <cstring>

namespace ostrel {

namespace {

bool isTrimmed(char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

HostString normaliseText(const char* text) noexcept {
  if (text == nullptr) return HostString();
  std::size_t begin = 0;
  std::size_t end = std::strlen(text);
  while (begin < end && isTrimmed(text[begin])) ++begin;
  while (end > begin && isTrimmed(text[end - 1])) --end;
  HostString out(text + begin, end - begin);
  // The string's own storage is ours to edit in place: no second copy.
  char* bytes = const_cast<char*>(out.c_str());
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (bytes[i] >= 'a' && bytes[i] <= 'z') bytes[i] = static_cast<char>(bytes[i] - 'a' + 'A');
  }
  return out;
}

HostString normaliseTicker(const char* text) noexcept {
  HostString out = normaliseText(text);
  if (out.empty()) out.assign("SPX");
  return out;
}

}  // namespace ostrel

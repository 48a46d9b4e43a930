#include "study/text_normalise.h"

#include <cstring>
#include <new>

namespace ostrel {

namespace {

bool isTrimmed(char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void upperCase(char* bytes, std::size_t length) noexcept {
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] >= 'a' && bytes[i] <= 'z') bytes[i] = static_cast<char>(bytes[i] - 'a' + 'A');
  }
}

}  // namespace

void NormalisedText::assignUpperCase(const char* text, std::size_t length) {
  heap_.clear();
  if (length <= kInlineCapacity) {
    if (length != 0) std::memcpy(inline_, text, length);
    inline_[length] = '\0';
    size_ = length;
    upperCase(inline_, length);
    return;
  }
  inline_[0] = '\0';
  heap_.assign(text, length);
  if (heap_.empty()) throw std::bad_alloc();  // an empty text would read as another ticker
  size_ = heap_.size();
  // The string's own storage is ours to edit in place: no second copy.
  upperCase(const_cast<char*>(heap_.c_str()), size_);
}

NormalisedText normaliseText(const char* text) {
  NormalisedText out;
  if (text == nullptr) return out;
  std::size_t begin = 0;
  std::size_t end = std::strlen(text);
  while (begin < end && isTrimmed(text[begin])) ++begin;
  while (end > begin && isTrimmed(text[end - 1])) --end;
  out.assignUpperCase(text + begin, end - begin);
  return out;
}

NormalisedText normaliseTicker(const char* text) {
  NormalisedText out = normaliseText(text);
  if (out.empty()) out.assignUpperCase("SPX", 3);
  return out;
}

}  // namespace ostrel

// Normalisation of the ticker and the futures target before they go into a request.
//
// Only space, tab, line feed and carriage return are trimmed from the ends (vertical tab and
// form feed stay, so a target of a lone form feed is not empty). Upper-casing changes the bytes
// a-z only, whatever the process locale; other bytes, including UTF-8 sequences, pass unchanged.
// Inner blanks are kept ("es spx" becomes "ES SPX").
//
// Both texts are normalised on every update call, so the result is held inside the object when
// it is short (every real ticker and target is): an ordinary call allocates nothing.
#pragma once

#include <cstddef>

#include "host/host_string.h"

namespace ostrel {

class NormalisedText {
 public:
  static constexpr std::size_t kInlineCapacity = 31;

  const char* c_str() const noexcept { return heap_.owns_storage() ? heap_.c_str() : inline_; }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  // True when the text did not fit inside the object.
  bool on_heap() const noexcept { return heap_.owns_storage(); }

  // The text's first `length` bytes, upper-cased (a-z only). Throws std::bad_alloc when a long
  // text cannot be stored: an empty ticker would read as "SPX", an empty target as no target.
  void assignUpperCase(const char* text, std::size_t length);

 private:
  char inline_[kInlineCapacity + 1] = {};
  std::size_t size_ = 0;
  HostString heap_;
};

// Trimmed and upper-cased; a null text reads as "". Throws std::bad_alloc as above.
NormalisedText normaliseText(const char* text);

// As normaliseText, but "SPX" when nothing is left.
NormalisedText normaliseTicker(const char* text);

}  // namespace ostrel

#include "host/host_string.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace ostrel {

void* hostAllocate(std::size_t bytes) noexcept {
#if defined(_WIN32)
  return HeapAlloc(GetProcessHeap(), 0, bytes);
#else
  return std::malloc(bytes);
#endif
}

void hostFree(void* block) noexcept {
  if (block == nullptr) return;
#if defined(_WIN32)
  HeapFree(GetProcessHeap(), 0, block);
#else
  std::free(block);
#endif
}

HostString& HostString::operator=(const HostString& other) noexcept {
  if (this != &other) assign(other.c_str(), other.size());
  return *this;
}

HostString& HostString::operator=(HostString&& other) noexcept {
  if (this != &other) {
    clear();
    data_ = other.data_;
    length_ = other.length_;
    other.data_ = nullptr;
    other.length_ = 0;
  }
  return *this;
}

void HostString::assign(const char* text) noexcept {
  if (text == nullptr) {
    clear();
    return;
  }
  // strnlen would be enough, but it is not in every C runtime we build against.
  std::size_t length = 0;
  while (length < kMaxLength && text[length] != '\0') ++length;
  assign(text, length);
}

void HostString::assign(const char* text, std::size_t length) noexcept {
  if (text == nullptr || length == 0) {
    clear();
    return;
  }
  if (length > kMaxLength) length = kMaxLength;
  // Reuse the current block when the new text fits, so steady-state reassignments do not
  // allocate. The block's capacity is not tracked, so only a text no longer than the current
  // one is known to fit. `text` may point into our own storage.
  if (data_ != nullptr && length <= size()) {
    std::memmove(data_, text, length);
    data_[length] = '\0';
    length_ = static_cast<std::int32_t>(length);
    return;
  }
  char* block = static_cast<char*>(hostAllocate(length + 1));
  if (block == nullptr) {
    clear();
    return;
  }
  std::memcpy(block, text, length);
  block[length] = '\0';
  clear();
  data_ = block;
  length_ = static_cast<std::int32_t>(length);
}

void HostString::append(const char* text, std::size_t length) noexcept {
  if (text == nullptr || length == 0) return;
  const std::size_t old = size();
  if (length > kMaxLength - old) length = kMaxLength - old;
  if (length == 0) return;
  char* block = static_cast<char*>(hostAllocate(old + length + 1));
  if (block == nullptr) return;
  if (old != 0) std::memcpy(block, data_, old);
  std::memcpy(block + old, text, length);
  block[old + length] = '\0';
  clear();
  data_ = block;
  length_ = static_cast<std::int32_t>(old + length);
}

void HostString::releaseStorage() noexcept {
  hostFree(data_);
  data_ = nullptr;
}

bool operator==(const HostString& a, const char* b) noexcept {
  if (b == nullptr) b = "";
  return std::strcmp(a.c_str(), b) == 0;
}

HostString formatHostString(const char* format, ...) noexcept {
  HostString result;
  if (format == nullptr) return result;
  char small[512];
  va_list args;
  va_start(args, format);
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (needed <= 0) return result;
  const std::size_t length = static_cast<std::size_t>(needed);
  if (length < sizeof small) {
    result.assign(small, length);
    return result;
  }
  char* block = static_cast<char*>(hostAllocate(length + 1));
  if (block == nullptr) return result;
  va_start(args, format);
  std::vsnprintf(block, length + 1, format, args);
  va_end(args);
  result.assign(block, length);
  hostFree(block);
  return result;
}

}  // namespace ostrel

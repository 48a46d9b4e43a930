// HostString: an owned, zero-terminated text shared with the host.
//
// Both sides of the DLL boundary allocate and free these texts the same way (the process heap on
// Windows, the C heap elsewhere), so a text made by the study can be freed by the host and the
// other way round. c_str() is never null: an empty string needs no storage. Texts are cut at
// kMaxLength characters, and a failed allocation leaves the string empty rather than throwing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel {

class HostString {
 public:
  static constexpr std::size_t kMaxLength = 2147483646;

  HostString() noexcept = default;
  explicit HostString(const char* text) noexcept { assign(text); }
  HostString(const char* text, std::size_t length) noexcept { assign(text, length); }
  HostString(const HostString& other) noexcept { assign(other.c_str(), other.size()); }
  HostString(HostString&& other) noexcept : data_(other.data_), length_(other.length_) {
    other.data_ = nullptr;
    other.length_ = 0;
  }
  HostString& operator=(const HostString& other) noexcept;
  HostString& operator=(HostString&& other) noexcept;
  HostString& operator=(const char* text) noexcept {
    assign(text);
    return *this;
  }
  ~HostString() { clear(); }

  // A null text assigns the empty string.
  void assign(const char* text) noexcept;
  void assign(const char* text, std::size_t length) noexcept;
  // Appends, growing the storage; on allocation failure the string is left unchanged.
  void append(const char* text, std::size_t length) noexcept;
  // Releases the storage; the string reads as "" afterwards. Inline: most strings (every
  // drawing record's label, for one) are empty, and those need no call at all.
  void clear() noexcept {
    if (data_ != nullptr) releaseStorage();
    length_ = 0;
  }

  const char* c_str() const noexcept { return data_ != nullptr ? data_ : ""; }
  std::size_t size() const noexcept { return static_cast<std::size_t>(length_); }
  bool empty() const noexcept { return length_ == 0; }
  // True when the string holds heap storage (an empty string usually holds none).
  bool owns_storage() const noexcept { return data_ != nullptr; }

 private:
  void releaseStorage() noexcept;

  char* data_ = nullptr;
  std::int32_t length_ = 0;
};

bool operator==(const HostString& a, const char* b) noexcept;
inline bool operator!=(const HostString& a, const char* b) noexcept { return !(a == b); }

// printf-style formatting into a HostString. The result is cut at HostString::kMaxLength; a
// format failure gives the empty string. Callers pass service texts only as %s arguments.
HostString formatHostString(const char* format, ...) noexcept
#if defined(__GNUC__) || defined(__clang__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The process-wide allocator that every HostString uses; exposed so that other texts handed
// across the boundary (input option lists, for example) use the same heap.
void* hostAllocate(std::size_t bytes) noexcept;
void hostFree(void* block) noexcept;

}  // namespace ostrel

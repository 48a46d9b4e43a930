// Stand-in SDK: the small value types (texts, date-times, array wrappers, enums, constants).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// The interface version of these headers; what a DLL built against them declares. A build may
// name another one on the command line, to stand in for an older installation's headers.
#ifndef SC_DLL_VERSION
#define SC_DLL_VERSION 2911
#endif

// The platform's calling convention for every function pointer it hands over.
#if defined(_WIN32)
#define SCDLLCALL __cdecl
#else
#define SCDLLCALL
#endif

// Text with its own buffer; GetChars() is never null. The platform's buffer comes from the
// process heap; this one from the C heap, which every module of a process built with MinGW-w64
// shares through the system's C runtime.
//
// Every assignment marks the text modified (IsModified()), except assigning a text to itself and
// assigning an empty text to an empty one; the non-empty const char* constructors mark it too,
// and a copy takes the original's mark. Nothing clears the mark.
class SCString {
 public:
  SCString() = default;
  SCString(const char* text) { Assign(text, text != nullptr ? std::strlen(text) : 0); }
  // A negative length means up to the terminator; at most MAX_LENGTH characters.
  SCString(const char* text, int length) {
    if (text == nullptr) return;
    const std::size_t limit =
        length < 0 ? std::strlen(text) : static_cast<std::size_t>(std::min(length, MAX_LENGTH));
    std::size_t n = 0;
    while (n < limit && text[n] != '\0') ++n;
    Assign(text, n);
  }
  SCString(const SCString& other) {
    Assign(other.GetChars(), static_cast<std::size_t>(other.m_length));
    m_modified = other.m_modified;
  }
  ~SCString() { std::free(m_data); }

  SCString& operator=(const SCString& other) {
    if (this != &other) *this = other.GetChars();
    return *this;
  }
  // Frees the old buffer before copying, as the platform's does: never assign from GetChars().
  SCString& operator=(const char* text) {
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length == 0 && m_length == 0) return *this;
    std::free(m_data);
    m_data = nullptr;
    m_length = 0;
    Assign(text, length);
    m_modified = true;
    return *this;
  }

  const char* GetChars() const { return m_data != nullptr ? m_data : ""; }
  int GetLength() const { return static_cast<int>(m_length); }
  // 0 (equal) for a null argument.
  int Compare(const char* text, int NumChars = 0) const {
    if (text == nullptr) return 0;
    return NumChars > 0 ? std::strncmp(GetChars(), text, static_cast<std::size_t>(NumChars))
                        : std::strcmp(GetChars(), text);
  }
  bool IsModified() const { return m_modified; }
  operator const char*() const { return GetChars(); }

 private:
  static const int MAX_LENGTH = 0x3FFFFFFF;  // declared only: a -O0 program defines it once

  void Assign(const char* text, std::size_t length) {
    if (length == 0) return;
    m_data = static_cast<char*>(std::malloc(length + 1));
    if (m_data == nullptr) return;
    std::memcpy(m_data, text, length);
    m_data[length] = '\0';
    m_length = static_cast<std::int64_t>(length);
    m_modified = true;
  }

  char* m_data = nullptr;
  std::int64_t m_length = 0;
  bool m_modified = false;
};

// Microseconds since 1899-12-30 00:00; 0 is unset.
class SCDateTime {
 public:
  SCDateTime() = default;
  static SCDateTime MICROSECONDS(std::int64_t us) {
    SCDateTime t;
    t.m_dt = us;
    return t;
  }
  std::int64_t AsMicrosecondsSinceBaseDate() const { return m_dt; }
  void SetInternalDateTime(std::int64_t us) { m_dt = us; }
  std::int64_t GetInternalDateTime() const { return m_dt; }

 protected:
  // As in the platform's headers: a non-const date-time cannot call GetInternalDateTime().
  std::int64_t& GetInternalDateTime() { return m_dt; }

 private:
  std::int64_t m_dt = 0;
};
using SCDateTimeMS = SCDateTime;

// A platform-owned array. The platform points it at its storage with InternalSetArray (the
// wrapper never owns nor frees it) and may register, with InternalSetOnUsed, a function that an
// element access calls while the data pointer is null (to allocate the array). While the pointer
// is null or the size 0, every index reaches one writable default element of the wrapper's own;
// otherwise the index is clamped into 0 .. size + extended - 1. GetArraySize() leaves the
// extended elements out; GetPointer() and GetArraySize() never call the function.
template <typename T>
class c_ArrayWrapper {
 public:
  T& operator[](int index) { return ElementAt(index); }
  const T& operator[](int index) const { return ElementAt(index); }
  T& ElementAt(int index) { return At(index); }
  const T& ElementAt(int index) const { return const_cast<c_ArrayWrapper*>(this)->At(index); }
  int GetArraySize() const { return m_data != nullptr ? m_size : 0; }
  int GetExtendedArraySize() const { return m_data != nullptr ? m_size + m_extended : 0; }
  T* GetPointer() { return m_data; }

  // For the platform's own use.
  void InternalSetArray(T* data, int size, int extended = 0) {
    m_data = data;
    m_size = size > 0 ? size : 0;
    m_extended = extended > 0 ? extended : 0;
  }
  void InternalSetOnUsed(void(SCDLLCALL* on_used)(int), int param) {
    m_on_used = on_used;
    m_on_used_param = param;
  }

 private:
  T& At(int index) {
    if (m_data == nullptr && m_on_used != nullptr) m_on_used(m_on_used_param);
    if (m_data == nullptr || m_size == 0) return m_default;
    const int last = m_size + m_extended - 1;
    return m_data[index < 0 ? 0 : (index > last ? last : index)];
  }

  T* m_data = nullptr;
  int m_size = 0;
  int m_extended = 0;
  void(SCDLLCALL* m_on_used)(int) = nullptr;
  int m_on_used_param = 0;
  T m_default{};
};

using SCFloatArray = c_ArrayWrapper<float>;
using SCColorArray = c_ArrayWrapper<std::uint32_t>;
// The platform's adds date and time accessors, which the study does not use.
class SCDateTimeArray : public c_ArrayWrapper<SCDateTime> {};

enum DrawingTypeEnum : std::int32_t {
  DRAWING_UNKNOWN = 0,
  DRAWING_HORIZONTALLINE = 3,
  DRAWING_RECTANGLEHIGHLIGHT = 12,
  DRAWING_MARKER = 39,
};

enum SubgraphLineStyles : std::int16_t {
  LINESTYLE_UNSET = -1,
  LINESTYLE_SOLID = 0,
  LINESTYLE_DASH = 1,
  LINESTYLE_DOT = 2,
};

enum UseToolAddMethodEnum { UTAM_ADD_OR_ADJUST = 3 };

const int TOOL_DELETE_ALL = -1;
const int TOOL_DELETE_CHARTDRAWING = 0;

enum TimeZonesEnum {
  TIMEZONE_NOT_SPECIFIED = 0,
  TIMEZONE_NEW_YORK = 7,
  TIMEZONE_UTC = 9,
  TIMEZONE_CUSTOM = 28,
  NUM_TIME_ZONES = 29,
};

// Input value type codes.
enum {
  FLOAT_VALUE = 2,
  YESNO_VALUE = 5,
  TIME_VALUE = 9,
  INT_VALUE = 11,
  COLOR_VALUE = 14,
  CUSTOM_STRING_VALUE = 22,
  TIMEZONE_VALUE = 24,
  STRING_VALUE = 26,
};

// The status of a request, and the texts that stand in HTTPResponse for a failed or empty one.
enum {
  HTTP_REQUEST_ERROR = 0,
  HTTP_REQUEST_NOT_SENT = 1,
  HTTP_REQUEST_MADE = 2,
  HTTP_REQUEST_RECEIVED = 3,
};
const char* const ACSIL_HTTP_REQUEST_ERROR_TEXT = "HTTP_REQUEST_ERROR";
const char* const ACSIL_HTTP_EMPTY_RESPONSE_TEXT = "EMPTY_RESPONSE";

// Stand-in SDK: the small value types (texts, date-times, array wrappers, enums).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Text with its own heap buffer; GetChars() is never null.
class SCString {
 public:
  SCString() = default;
  SCString(const char* text) { Assign(text, text != nullptr ? std::strlen(text) : 0); }
  SCString(const char* text, int length) {
    Assign(text, text != nullptr && length > 0 ? static_cast<std::size_t>(length) : 0);
  }
  SCString(const SCString& other) { Assign(other.m_data, other.m_length); }
  ~SCString() { std::free(m_data); }

  SCString& operator=(const SCString& other) {
    if (this != &other) *this = other.GetChars();
    return *this;
  }
  // Frees the old buffer before copying, as the platform's does: never assign from GetChars().
  SCString& operator=(const char* text) {
    std::free(m_data);
    m_data = nullptr;
    m_length = 0;
    Assign(text, text != nullptr ? std::strlen(text) : 0);
    return *this;
  }

  const char* GetChars() const { return m_data != nullptr ? m_data : ""; }
  int GetLength() const { return static_cast<int>(m_length); }
  int Compare(const char* text, int NumChars = 0) const {
    if (text == nullptr) text = "";
    return NumChars > 0 ? std::strncmp(GetChars(), text, static_cast<std::size_t>(NumChars))
                        : std::strcmp(GetChars(), text);
  }
  operator const char*() const { return GetChars(); }

  // Stand-in only: how often the text was assigned (each assignment marks it modified).
  int StandinAssignments = 0;

 private:
  void Assign(const char* text, std::size_t length) {
    ++StandinAssignments;
    if (length == 0) return;
    m_data = static_cast<char*>(std::malloc(length + 1));
    if (m_data == nullptr) return;
    std::memcpy(m_data, text, length);
    m_data[length] = '\0';
    m_length = length;
  }

  char* m_data = nullptr;
  std::size_t m_length = 0;
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
  // Days as a double: loses microseconds; here so that tests can show the binding avoids it.
  double GetAsDouble() const { return static_cast<double>(m_dt) / 86400000000.0; }

 private:
  std::int64_t m_dt = 0;
};
using SCDateTimeMS = SCDateTime;

// A platform-owned array. Index access clamps into the array; on an empty array it answers a
// spare element (the platform would allocate one).
template <typename T>
class c_ArrayWrapper {
 public:
  T& operator[](int index) { return ElementAt(index); }
  T& ElementAt(int index) {
    if (m_data == nullptr || m_size <= 0) return m_spare;
    if (index < 0) index = 0;
    if (index >= m_size) index = m_size - 1;
    return m_data[index];
  }
  int GetArraySize() const { return m_data != nullptr ? m_size : 0; }
  T* GetPointer() { return m_data; }

  // Stand-in only: the simulated platform points the array at its own storage.
  void StandinBind(T* data, int size) {
    m_data = data;
    m_size = data != nullptr && size > 0 ? size : 0;
  }

 private:
  T* m_data = nullptr;
  int m_size = 0;
  T m_spare{};
};

using SCFloatArray = c_ArrayWrapper<float>;
using SCColorArray = c_ArrayWrapper<std::uint32_t>;
using SCDateTimeArray = c_ArrayWrapper<SCDateTime>;

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

enum StandinInputValueTypes : unsigned char {
  FLOAT_VALUE = 2,
  YESNO_VALUE = 5,
  TIME_VALUE = 9,
  INT_VALUE = 11,
  COLOR_VALUE = 14,
  CUSTOM_STRING_VALUE = 22,
  TIMEZONE_VALUE = 24,
  STRING_VALUE = 26,
};

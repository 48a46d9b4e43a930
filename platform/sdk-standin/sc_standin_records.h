// Stand-in SDK: inputs, subgraphs, the drawing record and HTTP headers.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sc_standin_types.h"

// One study input. A new input is all zero; the platform fills InputIndex and the two internal
// functions. There is no destructor: a text that SetString allocated stays until ClearString().
struct s_SCInput_145 {
  SCString Name;
  unsigned char ValueType = 0;
  unsigned char Unused1 = 0;
  std::uint16_t DisplayOrder = 0;
#pragma pack(push, 4)
  // Every scalar at 0; DateTimeValue 0..7 with TimeZoneValue at 8; StringModified at 0 with
  // StringValue at 4.
  union {
    unsigned IndexValue;
    float FloatValue;
    unsigned BooleanValue;
    struct {
      double DateTimeValue;  // days
      unsigned TimeZoneValue;
    };
    int IntValue;
    unsigned ColorValue;
    struct {
      bool StringModified;
      const char* StringValue;
    };
    unsigned char ValueBytes[16] = {};
  };
#pragma pack(pop)
  // A minimum and a maximum of the same shape, which the study never uses.
  unsigned : 32;
  unsigned : 32;
  unsigned : 32;
  unsigned : 32;
  unsigned : 32;
  unsigned : 32;
  unsigned : 32;
  unsigned : 32;
  int InputIndex = 0;
  void(SCDLLCALL* InternalSetCustomStrings)(int InputIndex, const char* strings) = nullptr;
  const char* SelectedCustomInputString = nullptr;
  void(SCDLLCALL* InternalSetDescription)(int InputIndex, const char* text) = nullptr;

  s_SCInput_145& SetFloat(float value) {
    ValueType = FLOAT_VALUE;
    FloatValue = value;
    return *this;
  }
  s_SCInput_145& SetYesNo(unsigned value) {
    ValueType = YESNO_VALUE;
    BooleanValue = value != 0 ? 1u : 0u;
    return *this;
  }
  s_SCInput_145& SetTime(int seconds) {
    ValueType = TIME_VALUE;
    DateTimeValue = seconds / 86400.0;
    return *this;
  }
  s_SCInput_145& SetInt(int value) {
    ValueType = INT_VALUE;
    IntValue = value;
    return *this;
  }
  s_SCInput_145& SetColor(unsigned value) {
    ValueType = COLOR_VALUE;
    ColorValue = value;
    return *this;
  }
  s_SCInput_145& SetCustomInputIndex(unsigned index) {
    ValueType = CUSTOM_STRING_VALUE;
    IndexValue = index;
    return *this;
  }
  s_SCInput_145& SetTimeZone(TimeZonesEnum zone) {
    ValueType = TIMEZONE_VALUE;
    IndexValue = static_cast<unsigned>(zone);
    return *this;
  }
  // The empty text is stored as no text at all. The old text is freed only when the input held
  // a text that was set through here.
  s_SCInput_145& SetString(const char* text) {
    if (UsesStringValue() && StringModified) ClearString();
    ValueType = STRING_VALUE;
    StringValue = nullptr;
    if (text != nullptr && text[0] != '\0') {
      const std::size_t n = std::strlen(text);
      char* copy = static_cast<char*>(std::calloc(n + 1, 1));
      if (copy != nullptr) std::memcpy(copy, text, n);
      StringValue = copy;
    }
    StringModified = true;
    return *this;
  }
  void ClearString() {
    if (!UsesStringValue()) return;
    std::free(const_cast<char*>(StringValue));
    StringValue = nullptr;
  }
  // Write-only: hands the list to the platform; without the platform's function, nothing at all.
  void SetCustomInputStrings(const char* strings) {
    if (InternalSetCustomStrings == nullptr) return;
    InternalSetCustomStrings(InputIndex, strings);
    ValueType = CUSTOM_STRING_VALUE;
  }
  void SetDescription(const char* text) {
    if (text != nullptr && InternalSetDescription != nullptr)
      InternalSetDescription(InputIndex, text);
  }

  bool UsesStringValue() const { return ValueType == STRING_VALUE; }

  float GetFloat() const { return FloatValue; }
  unsigned GetYesNo() const { return BooleanValue != 0 ? 1u : 0u; }
  int GetInt() const { return IntValue; }
  unsigned GetColor() const { return ColorValue; }
  unsigned GetIndex() const { return IndexValue; }
  // Whole seconds, rounded, with whole days dropped (negatives kept).
  int GetTime() const {
    const double seconds = std::round(DateTimeValue * 86400.0);
    if (!(std::fabs(seconds) < 1e15)) return 0;
    return static_cast<int>(std::fmod(seconds, 86400.0));
  }
  // An index past the table reads as 0.
  TimeZonesEnum GetTimeZone() {
    const unsigned zone = ValueType == TIMEZONE_VALUE ? IndexValue : TimeZoneValue;
    return static_cast<TimeZonesEnum>(zone < NUM_TIME_ZONES ? zone : 0u);
  }
  // "Unset" for no text and for every input that is not a text.
  const char* GetString() const {
    return UsesStringValue() && StringValue != nullptr ? StringValue : "Unset";
  }
};

struct s_SCSubgraph_260 {
  SCString Name;
  unsigned PrimaryColor = 0;
  std::uint16_t DrawStyle = 0;
  SubgraphLineStyles LineStyle = LINESTYLE_SOLID;
  std::uint16_t LineWidth = 0;
  SCFloatArray Data;
  SCColorArray DataColor;
};

using SCInput145Array = c_ArrayWrapper<s_SCInput_145>;
using SCSubgraph260Array = c_ArrayWrapper<s_SCSubgraph_260>;

// One chart drawing. The reset values below and the constructor run in the study's own code.
struct s_UseTool {
  s_UseTool() : Size(static_cast<int>(sizeof(s_UseTool))), Version(SC_DLL_VERSION) {}

  int ChartNumber = 0;
  int LineNumber = -1;
  int TransparencyLevel = -1;
  float BeginValue = FLT_MIN;
  float EndValue = FLT_MIN;
  int Region = -1;
  std::uint32_t Color = 0xFF000000u;
  int FontSize = -1;
  SCDateTimeMS BeginDateTime;
  SCDateTimeMS EndDateTime;
  SCString Text;
  DrawingTypeEnum DrawingType = DRAWING_UNKNOWN;
  std::uint16_t LineWidth = 0xFFFF;
  SubgraphLineStyles LineStyle = LINESTYLE_UNSET;
  int AddMethod = UTAM_ADD_OR_ADJUST;
  int TextAlignment = -1;
  std::uint32_t SecondaryColor = 0xFF000000u;
  int MarkerType = -1;
  int MarkerSize = -1;
  int TransparentLabelBackground = -1;
  int AddAsUserDrawnDrawing = 0;
  int AllowSaveToChartbook = -1;
  std::int16_t HideDrawing = -1;
  std::int16_t AllowCopyToOtherCharts = -1;

 private:
  int Size;
  int Version;
};

namespace n_ACSIL {
struct s_HTTPHeader {
  SCString Name;
  SCString Value;
};
}  // namespace n_ACSIL

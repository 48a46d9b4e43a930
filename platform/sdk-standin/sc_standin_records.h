// Stand-in SDK: inputs, subgraphs, the drawing record and HTTP headers.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sc_standin_types.h"

struct s_SCInput_145 {
  SCString Name;
  unsigned char ValueType = 0;
  std::uint16_t DisplayOrder = 0;
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
  };
  int InputIndex = 0;
  void (*InternalSetCustomStrings)(int InputIndex, const char* strings) = nullptr;

  s_SCInput_145() : DateTimeValue(0.0) { StringValue = nullptr; }
  s_SCInput_145(const s_SCInput_145&) = delete;
  s_SCInput_145& operator=(const s_SCInput_145&) = delete;
  ~s_SCInput_145() { StandinFreeText(); }

  s_SCInput_145& SetFloat(float value) {
    Retype(FLOAT_VALUE);
    FloatValue = value;
    return *this;
  }
  s_SCInput_145& SetYesNo(unsigned value) {
    Retype(YESNO_VALUE);
    BooleanValue = value;
    return *this;
  }
  s_SCInput_145& SetTime(int seconds) {
    Retype(TIME_VALUE);
    DateTimeValue = seconds / 86400.0;
    return *this;
  }
  s_SCInput_145& SetInt(int value) {
    Retype(INT_VALUE);
    IntValue = value;
    return *this;
  }
  s_SCInput_145& SetColor(unsigned value) {
    Retype(COLOR_VALUE);
    ColorValue = value;
    return *this;
  }
  s_SCInput_145& SetCustomInputIndex(unsigned index) {
    Retype(CUSTOM_STRING_VALUE);
    IndexValue = index;
    return *this;
  }
  s_SCInput_145& SetTimeZone(TimeZonesEnum zone) {
    Retype(TIMEZONE_VALUE);
    TimeZoneValue = static_cast<unsigned>(zone);
    return *this;
  }
  // The empty text is stored as no text at all.
  s_SCInput_145& SetString(const char* text) {
    Retype(STRING_VALUE);
    StringModified = true;
    if (text != nullptr && text[0] != '\0') {
      const std::size_t n = std::strlen(text);
      char* copy = static_cast<char*>(std::malloc(n + 1));
      if (copy != nullptr) std::memcpy(copy, text, n + 1);
      StringValue = copy;
    }
    return *this;
  }
  s_SCInput_145& SetCustomInputStrings(const char* strings) {
    if (InternalSetCustomStrings != nullptr) InternalSetCustomStrings(InputIndex, strings);
    return *this;
  }
  s_SCInput_145& SetDescription(const char*) { return *this; }

 private:
  void StandinFreeText() {
    if (ValueType == STRING_VALUE) std::free(const_cast<char*>(StringValue));
  }
  // Leaves the value cleared for the new type; a text held before is freed.
  void Retype(unsigned char type) {
    StandinFreeText();
    ValueType = type;
    DateTimeValue = 0.0;
    StringValue = nullptr;  // the pointer shares the bytes of TimeZoneValue
  }
};

struct s_SCSubgraph_260 {
  SCString Name;
  unsigned PrimaryColor = 0;
  std::uint16_t DrawStyle = 0;
  SubgraphLineStyles LineStyle = LINESTYLE_SOLID;
  std::uint16_t LineWidth = 1;
  unsigned LineLabel = 0;
  SCFloatArray Data;
  SCColorArray DataColor;
};

using SCInput145Array = c_ArrayWrapper<s_SCInput_145>;
using SCSubgraph260Array = c_ArrayWrapper<s_SCSubgraph_260>;

// One chart drawing, at the platform's reset values.
struct s_UseTool {
  int ChartNumber = 0;
  int LineNumber = -1;
  int TransparencyLevel = -1;
  float BeginValue = FLT_MIN;
  float EndValue = FLT_MIN;
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
  int Size = static_cast<int>(sizeof(s_UseTool));
  int Version = 0;
};

namespace n_ACSIL {
struct s_HTTPHeader {
  SCString Name;
  SCString Value;
};
}  // namespace n_ACSIL

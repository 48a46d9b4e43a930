// drawMajorLine: one major level as a horizontal line across the chart at the converted price
// p = value x multiplier + additive, with an optional label "<text>: <p with two decimals>".
//
// The line is not wanted when the value is exactly 0, the width is 0 or less, or the line's
// visibility flag is off: a drawing still recorded in the slot is then removed. Either way the
// line uses slot `drawingKey` and advances it by one. A line the host does not place is not
// reported. Style index 0/1/2 gives solid/dashed/dotted, any other solid; alignment 0/1/2 gives
// left/right/centre (4/6/5), any other leaves the host's default. With labels off the text,
// font size, alignment and background stay unset.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

// The inputs of one line.
struct MajorLineInputs {
  std::uint32_t colour = 0;
  std::int32_t width = 0;
  std::int32_t style = 0;
  const char* label = "";
  bool visible = false;
};

// The label inputs all lines share.
struct MajorLabelSettings {
  bool show = false;
  std::int32_t alignment = 1;
  std::int32_t fontSize = 0;
  bool transparentBackground = false;
};

void drawMajorLine(StudyHost& host, std::int32_t& drawingKey, float value,
                   const MajorLineInputs& line, const MajorLabelSettings& labels, float additive,
                   float multiplier);

}  // namespace ostrel

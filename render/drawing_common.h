// Fields that every drawing of the study shares: the copy-to-other-charts attribute, set on a
// drawing only while "Allow Copy To Other Charts" is on, and the report of a drawing the host
// did not place.
#pragma once

#include <cstdint>
#include <limits>

#include "host/study_host.h"

namespace ostrel {

// The inputs that every bar and marker of a pass reads; nothing writes inputs during a render
// pass, so a pass reads them once.
struct DrawingFlags {
  bool allowCopy = false;    // "Allow Copy To Other Charts"
  bool logarithmic = false;  // "Logarithmic Scaling (Horizontal)"
};

DrawingFlags readDrawingFlags(StudyHost& host);

// CopySettingA 1, CopySettingB 1, CopySettingC 0 when the input is on; untouched otherwise.
void applyCopySetting(StudyHost& host, DrawingSpec& spec);
inline void applyCopySetting(DrawingSpec& spec, bool allowCopy) noexcept {
  if (!allowCopy) return;
  spec.CopySettingA = 1;
  spec.CopySettingB = 1;
  spec.CopySettingC = 0;
}

// After PlaceDrawing: records a placed drawing in slot `key` (render/drawing_slots.h) and
// answers true; answers false when the host gave number 0.
bool recordPlacement(StudyHost& host, std::int32_t key, const DrawingSpec& spec);

// The running slot number moves on by one; it stops at the int range's end.
inline void advanceDrawingKey(std::int32_t& drawingKey) noexcept {
  if (drawingKey < std::numeric_limits<std::int32_t>::max()) ++drawingKey;
}

}  // namespace ostrel

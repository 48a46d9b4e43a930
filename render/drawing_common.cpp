#include "render/drawing_common.h"

#include "host/host_calls.h"
#include "render/drawing_slots.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

DrawingFlags readDrawingFlags(StudyHost& host) {
  DrawingFlags flags;
  flags.allowCopy = readBool(host::input(host, in::kAllowCopy));
  flags.logarithmic = readBool(host::input(host, in::kLogScaling));
  return flags;
}

void applyCopySetting(StudyHost& host, DrawingSpec& spec) {
  applyCopySetting(spec, readBool(host::input(host, in::kAllowCopy)));
}

bool recordPlacement(StudyHost& host, std::int32_t key, const DrawingSpec& spec) {
  if (spec.DrawingNumber == 0) return false;
  recordDrawing(host, key, spec.DrawingNumber);
  return true;
}

}  // namespace ostrel

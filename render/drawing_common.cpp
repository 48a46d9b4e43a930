#include "render/drawing_common.h"

#include "host/host_calls.h"
#include "render/drawing_slots.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

void applyCopySetting(StudyHost& host, DrawingSpec& spec) {
  if (!readBool(host::input(host, in::kAllowCopy))) return;
  spec.CopySettingA = 1;
  spec.CopySettingB = 1;
  spec.CopySettingC = 0;
}

bool recordPlacement(StudyHost& host, std::int32_t key, const DrawingSpec& spec) {
  if (spec.DrawingNumber == 0) return false;
  recordDrawing(host, key, spec.DrawingNumber);
  return true;
}

}  // namespace ostrel

#include "render/drawing_cleanup.h"

#include "host/host_calls.h"
#include "render/drawing_slots.h"
#include "study/state_keys.h"

namespace ostrel {

namespace {

constexpr std::int32_t kMaxSweepRemovals = 10000;
constexpr std::int32_t kMaxSweepQueries = 20000;

}  // namespace

void emptyDrawingSlots(StudyHost& host) {
  removeSlotDrawings(host);
  host::setStoredInt(host, key::last_drawing_slot, 0);
}

void removeAllDrawings(StudyHost& host) {
  host::removeStudyDrawings(host);
  emptyDrawingSlots(host);
}

void sweepStaleDrawings(StudyHost& host) {
  // Drawings the sweep keeps (the major lines, drawn first in every pass) are stepped over by
  // asking for the next index; asking for index 0 again would find the same line each time and
  // never reach the bars behind it. The host may still answer the same drawing forever (one it
  // fails to remove, or one it reports whatever the index), so both counts are bounded.
  DrawingSpec spec;
  std::int32_t removals = 0;
  std::int32_t queries = 0;
  std::int32_t kept = 0;
  while (removals < kMaxSweepRemovals && queries < kMaxSweepQueries) {
    if (host::findDrawing(host, spec, kept) <= 0 || spec.DrawingNumber == 0) break;
    ++queries;
    if (spec.DrawingType == kDrawingRectangle || spec.DrawingType == kDrawingMarker) {
      host::removeDrawing(host, spec.DrawingNumber);
      ++removals;
    } else {
      ++kept;
    }
  }
  emptyDrawingSlots(host);
}

}  // namespace ostrel

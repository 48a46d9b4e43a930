// Removal of the study's drawings outside a render pass, and the drawing slots they empty.
//
// Slots are StoredInt keys 8 up to last_drawing_slot, each holding a host drawing number or 0
// (render/drawing_slots.h; a last_drawing_slot above 999 counts as 999).
#pragma once

#include "host/study_host.h"

namespace ostrel {

// Every nonzero slot from 8 to last_drawing_slot (read once) removed and zeroed; then
// last_drawing_slot set to 0.
void emptyDrawingSlots(StudyHost& host);

// RemoveStudyDrawings, then emptyDrawingSlots. Used on retry/halt answers, removal, suspension.
void removeAllDrawings(StudyHost& host);

// Full recalculation: removes every strike bar (type 12) and prior marker (type 39) the host
// still reports, bounded by 10,000 removals and 20,000 queries, then empties the slots. A
// drawing of another type (a major line) is stepped over: the next query asks for the next
// index, so a line in front of stale bars does not hide them.
void sweepStaleDrawings(StudyHost& host);

}  // namespace ostrel

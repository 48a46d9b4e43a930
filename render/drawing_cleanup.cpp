#include "render/drawing_cleanup.h"

namespace ostrel {

// Placeholders until the drawing bookkeeping lands.
void emptyDrawingSlots(StudyHost&) {}
void removeAllDrawings(StudyHost&) {}
void sweepStaleDrawings(StudyHost&) {}

}  // namespace ostrel

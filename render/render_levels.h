// renderLevels: publishes a filled profile record as subgraph values at the current bar and
// draws it (major lines, then one bar per kept strike with its prior markers).
//
// Every pass first removes the previous pass's drawings and empties the drawing slots, so a pass
// that draws nothing leaves no profile drawing behind. `drawingKey` is the caller's running slot
// number: every drawing operation uses the slot it names and advances it by one, whatever the
// outcome; drawings whose slot would lie above 999 are placed but not recorded
// (render/drawing_slots.h). Prices are converted as price * multiplier + additive in single
// precision. Kinds ("Greek" 0-6) outside the range, an absent record or one without strikes end
// the pass after the removal: nothing is written or drawn.
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "model/gex_data.h"
#include "model/greek_data.h"

namespace ostrel {

void renderLevels(StudyHost& host, std::int32_t& drawingKey, const GexData* gex,
                  const GreekData* greek, float additive, float multiplier);

}  // namespace ostrel

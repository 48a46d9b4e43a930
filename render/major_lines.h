// The major lines of a profile kind, in slot order: for the GEX kinds call volume, put
// volume, zero gamma, call OI, put OI; for the gamma kinds long gamma, short gamma. Each line
// takes one slot whether it is drawn or not (render/draw_major_line.h). Label texts are the
// label inputs' texts, "Unset" when an input holds no text.
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "model/gex_data.h"
#include "model/greek_data.h"

namespace ostrel {

void drawGexLines(StudyHost& host, std::int32_t& drawingKey, const GexData& gex, float additive,
                  float multiplier);
void drawGammaLines(StudyHost& host, std::int32_t& drawingKey, const GreekData& greek,
                    float additive, float multiplier);

}  // namespace ostrel

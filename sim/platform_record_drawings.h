// The simulated platform's drawings: what the study hands UseTool (s_UseTool, at the platform's
// reset values where it sets nothing) as the SimHost's DrawingSpec (at the SimHost's unset
// markers), and a drawing on the SimHost's chart reported back as the platform reports it.
// The simulator's own reading of the platform's record, kept apart from the binding's on
// purpose: a misreading in one shows as a difference against the other.
#pragma once

#include "host/drawing_spec.h"
#include "platform/platform_sdk.h"

namespace ostrel::sim {

void drawingFromUseTool(const s_UseTool& from, DrawingSpec& to);
void useToolFromDrawing(const DrawingSpec& from, s_UseTool& to);

}  // namespace ostrel::sim

// The operation members of the simulated platform's record (platform_record_ops.cpp). Each
// finds its PlatformRecord through the thread's current record and forwards to the SimHost's
// StudyHost operation. Internal to the platform simulator.
//
// - UseTool places a drawing only on the record's own chart (ChartNumber) and region
//   (GraphRegion); any other answers 0.
// - Drawings placed with AddAsUserDrawnDrawing 1 are user-drawn: the study-drawing operations
//   (GetACSDrawingsCount, GetACSDrawingByIndex) do not see them, the user-drawn ones do (with
//   the trader's own drawings, those added as not the study's); deleting all the study's
//   drawings (TOOL_DELETE_ALL) removes the user-drawn ones too; deleting a user-drawn drawing
//   that is no longer there does nothing.
// - Each input gets the list and description functions (InternalSetCustomStrings,
//   InternalSetDescription); the lists the study sets reach the SimHost's slots.
#pragma once

#include "platform/platform_sdk.h"

namespace ostrel::sim {

void installPlatformRecordOps(s_sc& sc, s_SCInput_145* inputs, int input_count) noexcept;

}  // namespace ostrel::sim

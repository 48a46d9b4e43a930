// The StudyHost operations over the platform's record (host_operations.cpp). Each reaches its
// BindingInstance through HostContext, and the platform through the instance's record.
//
// - Drawings: PlaceDrawing is UseTool, on the record's ChartNumber where the core leaves the
//   chart 0 and always in the study's GraphRegion; FindDrawing reports the study's drawings in the
//   platform's order (GetACSDrawingByIndex), then the study's user-drawn ones (found with
//   GetUserDrawnChartDrawing among all user-drawn drawings, keeping only those the study
//   placed: a trader's own drawings are never found nor removed). RemoveDrawing and
//   RemoveStudyDrawings delete the study's user-drawn drawings with DeleteUserDrawnACSDrawing,
//   so that they do not pile up pass after pass while copying is on. FindDrawing's type filter
//   is honoured for user-drawn drawings only (the core always passes 0).
// - Stored ints, floats, times (GetPersistentInt64, exact) and pointers are the platform's own
//   references; stored texts are the instance's copies.
// - Zone conversions: a null or empty zone is the chart's own zone, the time unchanged (the
//   platform is not asked).
// - BarIndexAt: -1 without bars or before the first bar; the platform's answer clamped into
//   0 .. BarCount - 1 otherwise (-1 when it answers below 0).
// - StartHttpRequest is MakeHTTPPOSTRequest (headers and body; the profile's body is empty). The
//   id it answers is the request the core now waits for. More than 16 headers are refused.
// - DirectHttpsGet is left to the core's own client; only a stand-in build lets the simulator
//   stand in for it (StandinDirectHttpsGet of the stand-in record).
#pragma once

#include "host/study_host.h"
#include "platform/platform_sdk.h"

namespace ostrel::platform {

// Fills every operation but DirectHttpsGet (left null). None of them depends on the record, so
// once per instance.
void installPlatformOps(StudyHostOperations& ops) noexcept;

using DirectHttpsGetOp = decltype(StudyHostOperations::DirectHttpsGet);
// The DirectHttpsGet for record `sc`: only where the record stands in for the study's own HTTPS
// client (the stand-in's simulator); null otherwise, and the core uses its own client. Set in
// every call, as the record may change.
DirectHttpsGetOp platformDirectHttpsGet(const ::s_sc& sc) noexcept;

}  // namespace ostrel::platform

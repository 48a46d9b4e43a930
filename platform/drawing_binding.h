// DrawingSpec <-> s_UseTool.
//
// The two records hold the same fields, but mark "unset" differently: our prices are unset at 0,
// the platform's at FLT_MIN; our colours at 0xFFFFFFFF, the platform's at 0xFF000000; our
// DrawingType at -1, the platform's at 0 (unknown); our CopySettingA (the platform's
// AddAsUserDrawnDrawing) at -1, the platform's at 0. A field that a drawing leaves unset is
// therefore not copied: it keeps the platform's own reset value from s_UseTool's constructor,
// and a price of 0 never reaches the platform as if it were a real one. The 16-bit fields share
// their bits (65535 is the platform's -1). Window-unit positions go into the date-time fields
// unchanged. toDrawingSpec is the inverse, for what the platform reports.
#pragma once

#include "host/drawing_spec.h"
#include "platform/platform_sdk.h"

namespace ostrel::platform {

// `to` must be freshly constructed (at the platform's reset values).
void toUseTool(const DrawingSpec& from, s_UseTool& to) noexcept;
// `to` must be in its reset state.
void toDrawingSpec(const s_UseTool& from, DrawingSpec& to) noexcept;

}  // namespace ostrel::platform

// Date-times between the platform and the core. Both count microseconds since 1899-12-30
// 00:00 in one 64-bit integer, so the conversion is exact; the platform's double form
// (GetAsDouble) is never used, as it loses microseconds.
#pragma once

#include "host/study_host.h"
#include "platform/platform_sdk.h"

namespace ostrel::platform {

inline DateTime fromScDateTime(const SCDateTime& t) noexcept {
  return t.AsMicrosecondsSinceBaseDate();
}

inline SCDateTime toScDateTime(DateTime t) noexcept { return SCDateTime::MICROSECONDS(t); }

}  // namespace ostrel::platform

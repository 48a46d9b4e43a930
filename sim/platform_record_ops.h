// The operation members of the simulated platform's record (platform_record_ops.cpp). Each
// finds its PlatformRecord through the thread's newest record and forwards to the SimHost's
// StudyHost operation. Internal to the platform simulator.
#pragma once

#include "platform/platform_sdk.h"

namespace ostrel::sim {

void installPlatformRecordOps(s_sc& sc, s_SCInput_145* inputs, int input_count) noexcept;

}  // namespace ostrel::sim

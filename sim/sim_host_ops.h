// The StudyHost operations of SimHost (sim_host_ops.cpp); each reaches its SimHost through
// HostContext. Internal to the simulated host.
#pragma once

#include "host/study_host.h"

namespace ostrel::sim {

void installSimHostOps(StudyHostOperations& ops) noexcept;

}  // namespace ostrel::sim

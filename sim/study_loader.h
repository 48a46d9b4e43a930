// StudyEntry: the three entry points of the study, reached through plain function pointers so
// that the simulator drives a statically linked study and a study loaded from the DLL the same
// way.
#pragma once

#include <cstdint>

#include "host/study_host.h"

struct s_sc;  // the platform's study record (platform/platform_sdk.h)

namespace ostrel::sim {

// `platform`, when set, is the study's platform entry: the replay then presents the simulated
// host to it as the platform's record (sim/platform_record.h) instead of calling `function`.
struct StudyEntry {
  void (*function)(StudyHost&) = nullptr;
  void (*platform)(s_sc&) = nullptr;
  std::int32_t (*version)() = nullptr;
  const char* (*name)() = nullptr;
};

// The study linked into this executable (ostrel_core).
StudyEntry linkedStudy() noexcept;
// The same, reached through its platform entry and the binding (ostrel_platform).
StudyEntry linkedPlatformStudy() noexcept;

}  // namespace ostrel::sim

// StudyEntry: the three entry points of the study, reached through plain function pointers so
// that the simulator drives a statically linked study and a study loaded from the DLL the same
// way.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel::sim {

struct StudyEntry {
  void (*function)(StudyHost&) = nullptr;
  std::int32_t (*version)() = nullptr;
  const char* (*name)() = nullptr;
};

// The study linked into this executable (ostrel_core).
StudyEntry linkedStudy() noexcept;

}  // namespace ostrel::sim

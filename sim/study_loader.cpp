#include "sim/study_loader.h"

#include "study/study_entry.h"

namespace ostrel::sim {

StudyEntry linkedStudy() noexcept {
  StudyEntry entry;
  entry.function = &ostrel::studyFunction;
  entry.version = &ostrel::dllVersion;
  entry.name = &ostrel::dllName;
  return entry;
}

}  // namespace ostrel::sim

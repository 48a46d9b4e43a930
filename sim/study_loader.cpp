#include "sim/study_loader.h"

#include "platform/platform_call.h"
#include "study/study_entry.h"

namespace ostrel::sim {

StudyEntry linkedStudy() noexcept {
  StudyEntry entry;
  entry.function = &ostrel::studyFunction;
  entry.version = &ostrel::dllVersion;
  entry.name = &ostrel::dllName;
  return entry;
}

StudyEntry linkedPlatformStudy() noexcept {
  StudyEntry entry = linkedStudy();
  entry.platform = &ostrel::platform::runPlatformCall;
  return entry;
}

}  // namespace ostrel::sim

#include "sim/study_loader.h"

#include "platform/platform_call.h"
#include "study/study_entry.h"

namespace ostrel::sim {
namespace {

std::int32_t platformVersion() { return ostrel::platform::platformInterfaceVersion(); }

}  // namespace

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
  entry.version = &platformVersion;
  return entry;
}

}  // namespace ostrel::sim

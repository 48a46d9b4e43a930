#include "study/study_entry.h"

#include <new>

#include "host/host_calls.h"
#include "study/study_function.h"

namespace ostrel {

std::int32_t dllVersion() noexcept { return kHostInterfaceVersion; }

const char* dllName() noexcept { return "ostrel_v4"; }

void studyFunction(StudyHost& host) noexcept {
  try {
    runStudy(host);
  } catch (const std::bad_alloc&) {
    // A step that needs no memory of its own (the removal, a recalculation's resets) has run.
    host::logMessage(host, "Ostrel: out of memory; the rest of this update was skipped.", 1);
  } catch (...) {
    // Only an allocation can throw; the host must never see it, so the call is given up.
    host::logMessage(host, "Ostrel: internal error; the update was skipped.", 1);
  }
}

}  // namespace ostrel

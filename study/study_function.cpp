#include "study/study_function.h"

#include "host/host_calls.h"

namespace ostrel {

void runStudy(StudyHost& host) {
  if (!host::hasInputsAndSubgraphs(host)) return;
  // Filled in by the study skeleton.
}

}  // namespace ostrel

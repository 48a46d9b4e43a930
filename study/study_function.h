// runStudy: the body of the study function, one call of the host (defaults or update).
// May throw only on allocation failure; studyFunction catches everything.
#pragma once

#include "host/study_host.h"

namespace ostrel {

void runStudy(StudyHost& host);

}  // namespace ostrel

// parseGreekProfile: the gamma/delta twin of parseGexProfile, filling a GreekData from the
// "mini_contracts" answer of the State package. Same arguments, outcomes and error answers.
#pragma once

#include "host/study_host.h"
#include "model/greek_data.h"
#include "model/parse_outcome.h"

namespace ostrel {

ParseOutcome parseGreekProfile(StudyHost& host, const char* const* response_text,
                               GreekData* p_greek_data);

}  // namespace ostrel

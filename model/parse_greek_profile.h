// parseGreekProfile: the gamma/delta twin of parseGexProfile, filling a GreekData from the
// "mini_contracts" answer of the State package. Same arguments, outcomes and error answers.
//
// Malformed parts are read as absent, as in parseGexProfile: a "mini_contracts" that is not an
// array means no strikes; an entry that is not an array of at least five elements is skipped; an
// element 4 that is not an array means no priors for that strike; non-numbers read 0. Elements 1
// and 2 are kept but take part in no maximum.
#pragma once

#include "host/study_host.h"
#include "model/greek_data.h"
#include "model/parse_outcome.h"

namespace ostrel {

ParseOutcome parseGreekProfile(StudyHost& host, const char* const* response_text,
                               GreekData* p_greek_data);

}  // namespace ostrel

#include "model/parse_greek_profile.h"

namespace ostrel {

// Placeholder until the parser lands.
ParseOutcome parseGreekProfile(StudyHost&, const char* const*, GreekData*) {
  return ParseOutcome::retry;
}

}  // namespace ostrel

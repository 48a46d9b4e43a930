#include "model/parse_gex_profile.h"

namespace ostrel {

// Placeholder until the parser lands.
ParseOutcome parseGexProfile(StudyHost&, const char* const*, GexData*) {
  return ParseOutcome::retry;
}

}  // namespace ostrel

#include "model/parse_majors_history.h"

namespace ostrel {

// Placeholder until the parser lands.
std::int32_t parseMajorsHistory(StudyHost&, const char* const*, float, float) { return 2; }

}  // namespace ostrel

#include "service/futures_conversion.h"

namespace ostrel {

// Placeholders until the futures conversion lands.
void updateFuturesConversion(StudyHost&, const char*, const char*, const char*) {}
void parseFuturesConversion(StudyHost&, const char*, const char*) {}

}  // namespace ostrel

// The two input combinations the service cannot serve. Each halts requests (requests_halted)
// and is reported once per halt: while requests are halted the check is skipped, so the message
// comes back only after a full recalculation cleared the halt.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

// The message for a package / profile kind / GEX display combination that cannot be served, or
// null. State with the 90-day or 0dte GEX kind needs the Volume display; the gamma and delta
// kinds (index > 2) need State.
const char* unservableInputsMessage(std::int32_t package, std::int32_t kind,
                                    std::int32_t display) noexcept;

// Logs the message (flag 1) and sets requests_halted, unless requests are halted already.
void applyInputHalts(StudyHost& host, std::int32_t package, std::int32_t kind,
                     std::int32_t display);

}  // namespace ostrel

// runSoak: the soak's days, call by call.
//
// From 00:00 New York of the first day, both charts are called every `step_seconds` from 09:25
// to 23:05 New York and every `quiet_step_seconds` otherwise (nights and weekends included),
// with a full recalculation at every hour. Each day the NDX chart is reloaded at 06:00 and its
// study removed and added again at 14:13 (mid-session), and the SPX chart is reloaded at 12:07.
// A few times a day each chart's study is hidden for a stretch (soak/hiding.h): its calls are
// suspended calls, some of them bringing the answer of a request in flight.
// Around every call of one chart the other chart's fingerprint must stay the same. The live heap
// and the resident size are sampled every simulated hour; from the second day on the heap may
// grow by at most 64 KiB a day.
#pragma once

#include <string>

#include "soak/options.h"
#include "soak/report.h"

namespace ostrel::soak {

// False with a reason when the run cannot start (no mock service, no platform entry).
bool runSoak(const SoakOptions& options, SoakResult& result, std::string& error);

}  // namespace ostrel::soak

// The profile polling interval counts from the start of the previous request, not from its
// answer. A request is due when none was made yet (last == 0), when at least `interval_seconds`
// have passed, or when the last request lies in the future: the chart's clock went back (a
// time zone further west, a fall-back switch, a correction), and waiting for it to catch up
// would leave the chart without data for hours. An interval of 0 or less makes every call due.
// Computed in 64 bits and saturating, so no interval (up to 2,147,483,647 s) and no clock value
// overflows.
#pragma once

#include <cstdint>

namespace ostrel {

bool profileRequestDue(std::int64_t now, std::int64_t last_request,
                       std::int32_t interval_seconds) noexcept;

}  // namespace ostrel

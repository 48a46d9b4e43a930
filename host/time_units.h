// Units of the host's date-time (DateTime: a signed 64-bit count of microseconds since
// 1899-12-30 00:00), defined once for every layer that computes with them.
#pragma once

#include <cstdint>

namespace ostrel {

constexpr std::int64_t kMicrosPerSecond = 1000000LL;
constexpr std::int64_t kMicrosPerMinute = 60 * kMicrosPerSecond;
constexpr std::int64_t kMicrosPerHour = 60 * kMicrosPerMinute;
constexpr std::int64_t kMicrosPerDay = 24 * kMicrosPerHour;

}  // namespace ostrel

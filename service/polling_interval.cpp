#include "service/polling_interval.h"

#include <limits>

namespace ostrel {

bool profileRequestDue(std::int64_t now, std::int64_t last_request,
                       std::int32_t interval_seconds) noexcept {
  if (last_request == 0) return true;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t elapsed;
  if (last_request < 0 && now > kMax + last_request) {
    elapsed = kMax;
  } else if (last_request > 0 && now < kMin + last_request) {
    elapsed = kMin;
  } else {
    elapsed = now - last_request;
  }
  // |interval| <= 2^31, times 10^6 stays far inside 64 bits.
  const std::int64_t interval = static_cast<std::int64_t>(interval_seconds) * 1000000;
  return elapsed >= interval;
}

}  // namespace ostrel

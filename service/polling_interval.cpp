#include "service/polling_interval.h"

#include <limits>

namespace ostrel {

bool profileRequestDue(std::int64_t now, std::int64_t last_request,
                       std::int32_t interval_seconds) noexcept {
  if (last_request == 0 || now < last_request) return true;
  // now >= last_request here; only a negative last_request can push the difference past 2^63.
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const std::int64_t elapsed =
      last_request < 0 && now > kMax + last_request ? kMax : now - last_request;
  // |interval| <= 2^31, times 10^6 stays far inside 64 bits.
  const std::int64_t interval = static_cast<std::int64_t>(interval_seconds) * 1000000;
  return elapsed >= interval;
}

}  // namespace ostrel

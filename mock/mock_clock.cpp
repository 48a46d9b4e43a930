#include "mock/mock_clock.h"

#include <cmath>
#include <ctime>

#include "mock/ny_time.h"

namespace ostrel::mock {

MockClock::MockClock(std::int64_t start, double speed)
    : start_(start != 0 ? start : static_cast<std::int64_t>(std::time(nullptr))),
      speed_(speed >= 0.0 && std::isfinite(speed) ? speed : 1.0),
      began_(std::chrono::steady_clock::now()) {}

std::int64_t MockClock::now() const {
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began_).count();
  return start_ + static_cast<std::int64_t>(std::floor(elapsed * speed_));
}

std::int64_t MockClock::nowFor(const std::string& override_text) const {
  std::int64_t t = 0;
  if (!override_text.empty() && parseClockText(override_text, t)) return t;
  return now();
}

}  // namespace ostrel::mock

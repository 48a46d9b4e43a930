// The mock's notion of "now": a start time that runs at a chosen speed.
//
// Speed 1 follows the wall clock from the start time, 60 runs a minute a second, 0 freezes the
// clock at the start. A request may override the clock with the header "X-Mock-Time" (or the
// query parameter "mock_time"): Unix seconds, or "YYYY-MM-DD HH:MM:SS" in New York time. That is
// how tests and the demo step through a session deterministically.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace ostrel::mock {

class MockClock {
 public:
  // A start of 0 means the current wall-clock time.
  MockClock(std::int64_t start_unix_seconds, double speed);

  std::int64_t now() const;
  // The override text when it parses, otherwise now().
  std::int64_t nowFor(const std::string& override_text) const;

 private:
  std::int64_t start_;
  double speed_;
  std::chrono::steady_clock::time_point began_;
};

}  // namespace ostrel::mock

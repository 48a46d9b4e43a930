// The time budget of one direct HTTPS exchange: every network phase (name resolution, connect,
// TLS handshake, send, the wait for the answer, each body read) has its own time-out, but never
// more than what remains of the exchange's total, so a phase that starts just before the total
// runs out cannot block the caller for another whole phase time-out.
//
// Measured on the monotonic clock from construction. Millisecond arguments of 0 or less count
// as 1 ms.
#pragma once

#include <chrono>
#include <cstdint>

namespace ostrel {

class TimeBudget {
 public:
  TimeBudget(std::int32_t phase_ms, std::int32_t total_ms) noexcept;

  // The time-out of the phase about to start: the phase time-out or what remains of the total,
  // whichever is less; 0 once the total is spent (the phase must not start).
  std::int32_t nextPhaseMs() const noexcept;
  std::int32_t totalMs() const noexcept { return total_ms_; }
  std::int32_t phaseMs() const noexcept { return phase_ms_; }

 private:
  std::chrono::steady_clock::time_point started_;
  std::int32_t phase_ms_;
  std::int32_t total_ms_;
};

}  // namespace ostrel

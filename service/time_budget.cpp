#include "service/time_budget.h"

namespace ostrel {

TimeBudget::TimeBudget(std::int32_t phase_ms, std::int32_t total_ms) noexcept
    : started_(std::chrono::steady_clock::now()),
      phase_ms_(phase_ms > 0 ? phase_ms : 1),
      total_ms_(total_ms > 0 ? total_ms : 1) {}

std::int32_t TimeBudget::nextPhaseMs() const noexcept {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - started_)
                           .count();
  if (elapsed >= total_ms_) return 0;
  const auto remaining = static_cast<std::int32_t>(total_ms_ - elapsed);
  return remaining < phase_ms_ ? remaining : phase_ms_;
}

}  // namespace ostrel

#include "soak/hiding.h"

namespace ostrel::soak {

bool HideSchedule::hidden(std::int64_t unix_now, std::int64_t ny_day, std::int64_t ny_second,
                          bool answer_due) noexcept {
  if (ny_day != day_) {
    day_ = ny_day;
    previous_second_ = -1;
  }
  const HideStretch* due = nullptr;
  for (std::size_t i = 0; i < count_ && due == nullptr; ++i) {
    const HideStretch& s = stretches_[i];
    if (previous_second_ < s.from && s.from <= ny_second) due = &s;
  }
  previous_second_ = ny_second;

  if (hiding_) {
    if (unix_now < hidden_until_) return true;
    hiding_ = false;  // shown again: this call is an ordinary one
    return false;
  }
  if (due != nullptr && waiting_ == nullptr) {
    if (!due->await_request) {
      start(unix_now, *due, answer_due);
      return true;
    }
    waiting_ = due;
    waiting_since_ = unix_now;
  }
  if (waiting_ != nullptr && (answer_due || unix_now - waiting_since_ >= kAwaitLimit)) {
    const HideStretch& s = *waiting_;
    waiting_ = nullptr;
    start(unix_now, s, answer_due);
    return true;
  }
  return false;
}

void HideSchedule::show() noexcept {
  hiding_ = false;
  waiting_ = nullptr;
}

void HideSchedule::start(std::int64_t unix_now, const HideStretch& stretch,
                         bool answer_due) noexcept {
  hiding_ = true;
  hidden_until_ = unix_now + stretch.seconds;
  ++started_;
  if (answer_due) ++answered_;
}

}  // namespace ostrel::soak

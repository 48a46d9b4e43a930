// HideSchedule: when one chart's study is hidden (its calls suspended) and shown again.
//
// Each stretch has a New York time of day. It starts at the first call at or after that time
// or, when it waits for a request, at the first call from then on that brings the answer of a
// request in flight (so the answer arrives while the study is hidden), but no later than
// kAwaitLimit seconds after its time. The study then stays hidden for `seconds` of simulated
// time; the first call after that is an ordinary one again. A stretch that comes due while
// another runs is skipped.
//
// Times of day follow New York's wall clock: in the hour an autumn switch repeats, a stretch
// of that hour comes due twice; one in the hour a spring switch skips starts at the first call
// after it.
//
// A full recalculation shows the study: the caller asks hidden() for every other call and
// calls show() for that one instead, so a stretch running ends (the soak's end before the next
// full hour, so that only guards odd call steps), one waiting for an answer is dropped, and one
// that comes due at it (the first call after the lost hour of a spring switch is one) starts
// at the next call. A new instance of the study (the chart reloaded, the study added again)
// starts with a full recalculation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel::soak {

struct HideStretch {
  std::int32_t from = 0;     // New York second of the day
  std::int32_t seconds = 0;  // how long the study stays hidden
  bool await_request = false;
};

class HideSchedule {
 public:
  static constexpr std::int64_t kAwaitLimit = 60;

  // `stretches` outlives the schedule (the soak's are constants).
  HideSchedule(const HideStretch* stretches, std::size_t count) noexcept
      : stretches_(stretches), count_(count) {}

  // Before a call at Unix second `unix_now` on New York day `ny_day`, second of the day
  // `ny_second`: true when the study is hidden for this call. `answer_due`: the call brings
  // the answer of a request in flight.
  bool hidden(std::int64_t unix_now, std::int64_t ny_day, std::int64_t ny_second,
              bool answer_due) noexcept;
  // A full recalculation: the study is shown for it.
  void show() noexcept;

  long started() const noexcept { return started_; }             // stretches so far
  long startedWithAnswer() const noexcept { return answered_; }  // ... on an answer's call

 private:
  void start(std::int64_t unix_now, const HideStretch& stretch, bool answer_due) noexcept;

  const HideStretch* stretches_;
  std::size_t count_;
  std::int64_t day_ = 0;
  std::int64_t previous_second_ = -1;  // of the previous call on day_; -1: none yet
  const HideStretch* waiting_ = nullptr;
  std::int64_t waiting_since_ = 0;
  bool hiding_ = false;
  std::int64_t hidden_until_ = 0;  // Unix second, while hiding_
  long started_ = 0;
  long answered_ = 0;
};

}  // namespace ostrel::soak

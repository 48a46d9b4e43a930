// When the soak hides a chart's study: stretches start at their time of day (or on the call
// that brings an answer), last their time, follow New York's wall clock through both switches
// and give way to full recalculations.
#include "soak/hiding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrel::soak {
namespace {

// One call: its Unix second, New York day and second of the day, whether it brings an answer,
// and whether the schedule is to hide the study for it.
struct Step {
  std::int64_t unix_now;
  std::int64_t day;
  std::int64_t second;
  bool answer_due;
  bool hidden;
};

constexpr std::int64_t kDay = 20000;
constexpr std::int64_t kNoon = 12 * 3600;

// A day's call at New York second `second`, with Unix seconds running along.
Step at(std::int64_t second, bool hidden, bool answer_due = false) {
  return {kDay * 86400 + second + 5 * 3600, kDay, second, answer_due, hidden};
}

TEST(SoakHiding, StretchesFollowTheirTimesAndAnswers) {
  const HideStretch plain[] = {{kNoon, 10, false}};
  const HideStretch awaiting[] = {{kNoon, 10, true}};
  const HideStretch two[] = {{kNoon, 30, false}, {kNoon + 10, 5, false}};
  const HideStretch lost_hour[] = {{2 * 3600 + 30 * 60, 60, false}};
  struct Case {
    const char* what;
    const HideStretch* stretches;
    std::size_t count;
    std::vector<Step> steps;
    long started;
    long on_answer;
  };
  const Case cases[] = {
      {"starts at the first call at or after its time and lasts its seconds",
       plain,
       1,
       {at(kNoon - 5, false), at(kNoon + 5, true), at(kNoon + 14, true), at(kNoon + 15, false),
        at(kNoon + 16, false)},
       1,
       0},
      {"waits for the call that brings an answer",
       awaiting,
       1,
       {at(kNoon, false), at(kNoon + 1, false), at(kNoon + 2, true, true), at(kNoon + 11, true),
        at(kNoon + 12, false, true)},
       1,
       1},
      {"waits no longer than its limit",
       awaiting,
       1,
       {at(kNoon, false), at(kNoon + HideSchedule::kAwaitLimit - 1, false),
        at(kNoon + HideSchedule::kAwaitLimit, true)},
       1,
       0},
      {"a stretch due while another runs is skipped",
       two,
       2,
       {at(kNoon, true), at(kNoon + 10, true), at(kNoon + 29, true), at(kNoon + 30, false),
        at(kNoon + 31, false)},
       1,
       0},
      {"once a day: the next day's calls start from midnight",
       plain,
       1,
       {at(kNoon, true),
        at(kNoon + 10, false),
        at(kNoon + 60, false),
        {(kDay + 1) * 86400 + 5 * 3600 + kNoon, kDay + 1, kNoon, false, true}},
       2,
       0},
      {"an hour the spring switch skips: at the first call after it",
       lost_hour,
       1,
       {at(2 * 3600 - 60, false),
        {kDay * 86400 + 7 * 3600, kDay, 3 * 3600, false, true},
        {kDay * 86400 + 7 * 3600 + 60, kDay, 3 * 3600 + 60, false, false}},
       1,
       0},
  };
  for (const Case& c : cases) {
    HideSchedule schedule(c.stretches, c.count);
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      EXPECT_EQ(schedule.hidden(s.unix_now, s.day, s.second, s.answer_due), s.hidden)
          << c.what << ", call " << i;
    }
    EXPECT_EQ(schedule.started(), c.started) << c.what;
    EXPECT_EQ(schedule.startedWithAnswer(), c.on_answer) << c.what;
  }
}

TEST(SoakHiding, TheHourAnAutumnSwitchRepeatsHidesTwice) {
  const HideStretch night[] = {{3600 + 30 * 60, 600, false}};
  HideSchedule schedule(night, 1);
  // Unix seconds run on through the switch; New York's clock goes from 01:59 back to 01:00.
  std::int64_t unix_now = kDay * 86400 + 4 * 3600 + 3600;  // 01:00 EDT
  int hidden_calls = 0;
  for (std::int64_t minute = 0; minute < 120; ++minute, unix_now += 60) {
    const std::int64_t second = 3600 + (minute % 60) * 60;
    hidden_calls += schedule.hidden(unix_now, kDay, second, false) ? 1 : 0;
  }
  EXPECT_EQ(schedule.started(), 2);
  EXPECT_EQ(hidden_calls, 20);
}

// The week asks the schedule for every call but a full recalculation's, which shows the study.
TEST(SoakHiding, AFullRecalculationShowsTheStudy) {
  const HideStretch stretches[] = {{kNoon, 600, false}, {kNoon + 3600, 600, true}};
  HideSchedule schedule(stretches, 2);
  const auto hidden = [&](std::int64_t second, bool answer_due) {
    return schedule.hidden(at(second, false).unix_now, kDay, second, answer_due);
  };
  EXPECT_FALSE(hidden(kNoon - 1, false));
  schedule.show();                        // a recalculation at the stretch's time ...
  EXPECT_TRUE(hidden(kNoon + 1, false));  // ... puts it off to the next call
  schedule.show();                        // one within the stretch ends it
  EXPECT_FALSE(hidden(kNoon + 2, false));
  EXPECT_FALSE(hidden(kNoon + 3600, false));  // waiting for an answer
  schedule.show();                            // dropped
  EXPECT_FALSE(hidden(kNoon + 3601, true));
  EXPECT_EQ(schedule.started(), 1);
}

}  // namespace
}  // namespace ostrel::soak

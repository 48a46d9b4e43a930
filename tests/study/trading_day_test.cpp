// A whole trading day, 09:30:00 to 16:00:00 New York, one call every second on a chart whose
// one-minute bars grow with the clock. Every request the study starts is answered in the next
// call (the GEX profile of tests/golden/study-gex-tiny.json, or a small majors history); a
// full recalculation opens the day and another comes at 12:00:00. scripts/trading_day_scenario.py
// writes the same day as a replay scenario for ostrel-sim.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;
using test::kMinute;
using test::kSecond;

constexpr std::int32_t kDaySeconds = 6 * 3600 + 30 * 60;  // 09:30:00 .. 16:00:00
constexpr std::int32_t kNoonRecalc = 9000;                // 12:00:00
constexpr std::int32_t kBars = 390;

const char* const kHistory =
    "[{\"timestamp\": 1773149400, \"major_call_gamma\": 5500, \"major_put_gamma\": 5440,"
    " \"zero_gamma\": 5470},"
    " {\"timestamp\": 1773154800, \"major_call_gamma\": 5505, \"major_put_gamma\": 5445,"
    " \"zero_gamma\": 5475}]";

std::string readProfile() {
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/tests/golden/study-gex-tiny.json");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct DayLog {
  std::vector<std::int32_t> profile_requests;  // second of the day, from 09:30:00
  std::vector<std::string> history_bodies;
  std::vector<std::string> messages;
  std::int32_t renders = 0;
  std::size_t last_render_drawings = 0;
};

class TradingDay : public test::StudyTest {
 protected:
  DayLog runDay() {
    const std::string profile = readProfile();
    EXPECT_FALSE(profile.empty());
    const std::int64_t open = at(2026, 3, 10, 9, 30);
    DayLog day;
    std::string pending;  // the answer owed to the request started in the previous call
    for (std::int32_t s = 0; s <= kDaySeconds; ++s) {
      const std::int32_t bars = s / 60 + 1 < kBars ? s / 60 + 1 : kBars;
      if (bars != sim.host().BarCount) sim.setBars(open, kMinute, bars);
      sim.host().IsFullRecalc = (s == 0 || s == kNoonRecalc) ? 1 : 0;
      const sim::CallRecord& rec =
          call(open + s * kSecond, pending.empty() ? sim::CallScript() : answer(pending.c_str()));
      pending.clear();
      for (const auto& entry : rec.log) day.messages.push_back(entry.text);
      if (!rec.placed.empty()) {
        ++day.renders;
        day.last_render_drawings = rec.placed.size();
      }
      for (const sim::RequestRecord& request : rec.requests) {
        if (request.url.find("/hist/") != std::string::npos) {
          day.history_bodies.push_back(request.body.value_or(""));
          pending = kHistory;
        } else {
          day.profile_requests.push_back(s);
          pending = profile;
        }
      }
    }
    return day;
  }
};

TEST_F(TradingDay, PollsEveryFiveSecondsAndDrawsEveryAnswer) {
  sim.setBars(at(2026, 3, 10, 9, 30), kMinute, 1);
  const DayLog day = runDay();

  // 09:30:00, 09:30:05, ... 11:59:55; the noon recalculation asks for the history first, and
  // polling resumes with its answer at 12:00:01 and every five seconds after.
  ASSERT_EQ(day.profile_requests.size(), 4680u);
  EXPECT_EQ(day.profile_requests.front(), 0);
  for (std::size_t i = 1; i < day.profile_requests.size(); ++i) {
    const std::int32_t gap = day.profile_requests[i] - day.profile_requests[i - 1];
    EXPECT_EQ(gap, day.profile_requests[i] == kNoonRecalc + 1 ? 6 : 5) << i;
  }
  EXPECT_EQ(day.profile_requests.back(), kDaySeconds - 4);
  EXPECT_EQ(day.renders, 4680);

  // At 09:30:00 the session is empty, so the only history request is the noon one:
  // 09:30:00 to 12:00:00 New York (13:30Z to 16:00Z; day-fraction seconds, truncated).
  ASSERT_EQ(day.history_bodies.size(), 1u);
  EXPECT_EQ(day.history_bodies[0], "{\"start\": 1773149400, \"end\": 1773158399}");

  EXPECT_TRUE(day.messages.empty()) << day.messages.front();

  // Every bar published the levels (rendered or carried forward); the history overwrote the
  // bars its points fall in.
  for (std::int32_t bar = 0; bar < kBars; ++bar) {
    const float call_level = sim.subgraph(0).value(bar);
    EXPECT_EQ(call_level, bar == 0 ? 5500.0f : bar == 90 ? 5505.0f : 5510.0f) << bar;
    EXPECT_EQ(sim.subgraph(8).value(bar), -512.5f) << bar;
  }
  EXPECT_EQ(sim.subgraph(2).value(90), 5475.0f);
  EXPECT_EQ(sim.subgraph(17).value(kBars - 1), 5510.0f);

  // Each pass replaced the previous one: only the last pass's drawings are on the chart.
  EXPECT_EQ(sim.drawings().size(), day.last_render_drawings);
  EXPECT_EQ(stored(key::last_drawing_slot),
            7 + static_cast<std::int32_t>(day.last_render_drawings));
  EXPECT_EQ(stored(key::requests_halted), 0);
}

}  // namespace
}  // namespace ostrel

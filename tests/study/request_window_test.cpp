#include "study/request_window.h"

#include <gtest/gtest.h>

#include "study/input_ids.h"
#include "study/zone_table.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;

class RequestWindow : public test::StudyTest {
 protected:
  bool openAt(std::int64_t time) {
    sim.host().CurrentTime = time;
    return requestWindowOpen(sim.host());
  }
};

TEST_F(RequestWindow, DefaultWindowIncludesBothEnds) {
  struct Row {
    int h, m, s;
    bool open;
  } rows[] = {{9, 29, 59, false}, {9, 30, 0, true},  {12, 0, 0, true},
              {23, 0, 0, true},   {23, 0, 1, false}, {0, 0, 0, false}};
  for (const Row& r : rows) {
    EXPECT_EQ(openAt(at(2026, 3, 10, r.h, r.m, r.s)), r.open) << r.h << ":" << r.m << ":" << r.s;
  }
  // The last microsecond of 23:00:00 still counts as 23:00:00.
  EXPECT_TRUE(openAt(at(2026, 3, 10, 23, 0, 0, 999999)));
}

TEST_F(RequestWindow, WindowIsReadInTheChosenZone) {
  sim.input(in::kTimeZone).setTimeZone(9);  // UTC; New York is UTC-4 on this date
  EXPECT_FALSE(openAt(at(2026, 3, 10, 5, 29, 59)));
  EXPECT_TRUE(openAt(at(2026, 3, 10, 5, 30, 0)));
  EXPECT_TRUE(openAt(at(2026, 3, 10, 19, 0, 0)));
  EXPECT_FALSE(openAt(at(2026, 3, 10, 19, 0, 1)));
}

TEST_F(RequestWindow, StartOfZeroOrNoTimeIsMidnight) {
  sim.input(in::kRequestStartTime).setTimeOfDay(0.0);
  EXPECT_TRUE(openAt(at(2026, 3, 10, 0, 0, 0)));
  sim.input(in::kRequestStartTime).setText("09:30");
  EXPECT_TRUE(openAt(at(2026, 3, 10, 0, 0, 0)));
  // An end of 0 (or of another type) is midnight as well: only 00:00:00 is inside.
  sim.input(in::kRequestEndTime).setInteger(5);
  EXPECT_TRUE(openAt(at(2026, 3, 10, 0, 0, 0, 999999)));
  EXPECT_FALSE(openAt(at(2026, 3, 10, 0, 0, 1)));
}

TEST_F(RequestWindow, EndBeforeStartIsNeverOpen) {
  sim.input(in::kRequestStartTime).setTimeOfDay(0.9);
  sim.input(in::kRequestEndTime).setTimeOfDay(0.1);
  for (int hour = 0; hour < 24; ++hour) EXPECT_FALSE(openAt(at(2026, 3, 10, hour, 30))) << hour;
}

TEST_F(RequestWindow, ZoneSlotOfAnotherTypeUsesTheHostsOwnTime) {
  sim.setHostZone("UTC+00");
  sim.input(in::kTimeZone).setCustomList(7);  // not a time zone: no zone, host time as is
  EXPECT_TRUE(openAt(at(2026, 3, 10, 9, 30)));
  sim.input(in::kTimeZone).setTimeZone(7);
  EXPECT_FALSE(openAt(at(2026, 3, 10, 9, 30)));  // 05:30 in New York
}

TEST(RequestWindowPure, SecondOfDayAndBounds) {
  EXPECT_EQ(secondOfDay(0), 0);
  EXPECT_EQ(secondOfDay(86400000000LL - 1), 86399);
  EXPECT_EQ(secondOfDay(-1), 86399);
  EXPECT_TRUE(isWindowOpen(0, 0, 0));
  EXPECT_FALSE(isWindowOpen(10, 9, 20));
  EXPECT_FALSE(isWindowOpen(10, 21, 20));
}

TEST(ZoneTable, TwentyNineRowsAndEmptyOutside) {
  EXPECT_STREQ(zoneString(0), "");
  EXPECT_STREQ(zoneString(7), "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00");
  EXPECT_STREQ(zoneString(9), "UTC+00");
  EXPECT_STREQ(zoneString(19), "IST+05:30");
  EXPECT_STREQ(zoneString(27), "NZST+12NZDT+01,M9.5.0/02:00,M4.1.0/03:00");
  EXPECT_STREQ(zoneString(28), "");
  EXPECT_STREQ(zoneString(29), "");
  EXPECT_STREQ(zoneString(-1), "");
  for (std::int32_t i = 1; i < 28; ++i) EXPECT_STRNE(zoneString(i), "") << i;
}

}  // namespace
}  // namespace ostrel

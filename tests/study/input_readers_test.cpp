#include "study/input_readers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace ostrel {
namespace {

struct ReaderRow {
  const char* label;
  StudyInput slot;
  float as_float;
  std::int32_t as_integer;
  std::int32_t as_index;
  bool as_bool;
  std::uint32_t as_colour;
  std::int64_t as_micros;
};

StudyInput floatSlot(float v) {
  StudyInput s;
  s.setFloat(v);
  return s;
}
StudyInput yesNoSlot(bool v) {
  StudyInput s;
  s.setYesNo(v);
  return s;
}
StudyInput timeSlot(double v) {
  StudyInput s;
  s.setTimeOfDay(v);
  return s;
}
StudyInput intSlot(std::int32_t v) {
  StudyInput s;
  s.setInteger(v);
  return s;
}
StudyInput colourSlot(std::uint32_t v) {
  StudyInput s;
  s.setColour(v);
  return s;
}
StudyInput listSlot(std::int32_t v) {
  StudyInput s;
  s.setCustomList(v);
  return s;
}
StudyInput zoneSlot(std::int32_t v) {
  StudyInput s;
  s.setTimeZone(v);
  return s;
}
StudyInput textSlot(const char* v) {
  StudyInput s;
  s.setText(v);
  return s;
}

constexpr std::uint32_t kWhite = 255u + 256u * 255u + 65536u * 255u;
constexpr std::uint32_t kGreen = 3u + 256u * 255u + 65536u * 53u;

TEST(InputReaders, EveryReaderOnEveryValueType) {
  const ReaderRow rows[] = {
      {"float", floatSlot(-2.5f), -2.5f, -3, -3, true, 0, 0},
      {"float zero", floatSlot(0.0f), 0.0f, 0, 0, false, 0, 0},
      {"yes", yesNoSlot(true), 1.0f, 1, 1, true, kWhite, 0},
      {"no", yesNoSlot(false), 0.0f, 0, 0, false, 0, 0},
      {"time 09:30", timeSlot(0.3958333333333333), 0.0f, 34200, 0, true, 0, 34200000000LL},
      {"time 0", timeSlot(0.0), 0.0f, 0, 0, false, 0, 0},
      {"integer", intSlot(-7), -7.0f, -7, -7, true, 0xFFFFFFF9u, 0},
      {"colour", colourSlot(kGreen), 0.0f, static_cast<std::int32_t>(kGreen),
       static_cast<std::int32_t>(kGreen), true, kGreen, 0},
      {"list", listSlot(2), 2.0f, 2, 2, true, 2, 0},
      {"zone", zoneSlot(7), 7.0f, 7, 7, true, 7, 0},
      {"text", textSlot("12"), 0.0f, 0, 0, false, 0, 0},
      {"no type", StudyInput(), 0.0f, 0, 0, false, 0, 0},
  };
  for (const ReaderRow& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(readFloat(row.slot), row.as_float);
    EXPECT_EQ(readInteger(row.slot), row.as_integer);
    EXPECT_EQ(readIndex(row.slot), row.as_index);
    EXPECT_EQ(readBool(row.slot), row.as_bool);
    EXPECT_EQ(readColour(row.slot), row.as_colour);
    EXPECT_EQ(readDateTime(row.slot), row.as_micros);
  }
}

TEST(InputReaders, RoundingIsHalfAwayFromZeroAndSaturates) {
  EXPECT_EQ(readInteger(floatSlot(2.5f)), 3);
  EXPECT_EQ(readInteger(floatSlot(2.4999f)), 2);
  EXPECT_EQ(readIndex(floatSlot(-0.5f)), -1);
  EXPECT_EQ(readInteger(floatSlot(1e30f)), 2147483647);
  EXPECT_EQ(readInteger(floatSlot(std::nanf(""))), 0);
  EXPECT_EQ(readInteger(colourSlot(0xFFFFFFFFu)), -1);
}

TEST(InputReaders, TimeOfDaySecondsStayWithinTheDay) {
  EXPECT_EQ(readInteger(timeSlot(1.25)), 21600);            // a day and six hours
  EXPECT_EQ(readDateTime(timeSlot(1.25)), 108000000000LL);  // not wrapped
  EXPECT_EQ(readInteger(timeSlot(-0.25)), 64800);           // six hours before midnight
  EXPECT_EQ(readDateTime(timeSlot(0.9583333333333334)), 82800000000LL);
  EXPECT_EQ(readInteger(timeSlot(1e300)), readInteger(timeSlot(1e300)));  // defined, no UB
}

TEST(InputReaders, TextReadsUnsetWithoutAText) {
  EXPECT_STREQ(readText(textSlot("abc")), "abc");
  EXPECT_STREQ(readText(textSlot("")), "");
  EXPECT_STREQ(readText(textSlot(nullptr)), "Unset");
  EXPECT_STREQ(readText(intSlot(3)), "Unset");
  EXPECT_STREQ(readText(StudyInput()), "Unset");
}

TEST(InputReaders, TimeZoneIndexOnlyFromATimeZoneSlot) {
  EXPECT_EQ(readTimeZoneIndex(zoneSlot(7)), 7);
  EXPECT_EQ(readTimeZoneIndex(listSlot(7)), -1);
  EXPECT_EQ(readTimeZoneIndex(intSlot(7)), -1);
  EXPECT_EQ(readTimeZoneIndex(textSlot("7")), -1);
}

}  // namespace
}  // namespace ostrel

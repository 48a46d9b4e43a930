// Our stand-in of the platform's SDK behaves as the platform's headers do where the binding and
// the simulator meet it: a stand-in that drifted would let both agree on a misreading.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <string>

#include "platform/platform_sdk.h"

namespace {

TEST(SdkStandin, TextsAreMarkedModifiedByWhatChangesThem) {
  struct Case {
    const char* what;
    void (*act)(SCString&);
    const char* start;  // null: default-constructed
    bool modified;
  };
  const Case cases[] = {
      {"nothing", [](SCString&) {}, nullptr, false},
      {"empty onto empty", [](SCString& s) { s = ""; }, nullptr, false},
      {"itself",
       [](SCString& s) {
         const SCString& same = s;
         s = same;
       },
       "ES", true},
      {"a text", [](SCString& s) { s = "ES"; }, nullptr, true},
      {"empty onto a text", [](SCString& s) { s = ""; }, "ES", true},
      {"constructed non-empty", [](SCString&) {}, "ES", true},
      {"constructed empty", [](SCString&) {}, "", false},
  };
  for (const Case& c : cases) {
    SCString s = c.start != nullptr ? SCString(c.start) : SCString();
    c.act(s);
    EXPECT_EQ(s.IsModified(), c.modified) << c.what;
    EXPECT_NE(s.GetChars(), nullptr) << c.what;
  }
  const SCString marked("ES");
  const SCString copy(marked);
  EXPECT_TRUE(copy.IsModified()) << "a copy takes the mark";
  EXPECT_EQ(SCString("ESNQ", 2).GetLength(), 2);
  EXPECT_EQ(SCString("ES", -1).GetLength(), 2);
  EXPECT_EQ(marked.Compare(nullptr), 0);
}

int t_used_calls = 0;
float t_storage[3] = {1.0f, 2.0f, 3.0f};
SCFloatArray* t_array = nullptr;
void allocateOnUse(int param) {
  t_used_calls += param;
  if (t_used_calls >= 2) t_array->InternalSetArray(t_storage, 2, 1);
}

TEST(SdkStandin, ArraysCallTheirAllocatorAndShareADefaultUntilFilled) {
  SCFloatArray array;
  t_array = &array;
  t_used_calls = 0;
  array.InternalSetOnUsed(&allocateOnUse, 1);
  array[5] = 7.0f;  // the default element: every index
  EXPECT_EQ(t_used_calls, 1);
  EXPECT_EQ(array.GetPointer(), nullptr);
  EXPECT_EQ(array.GetArraySize(), 0);
  EXPECT_EQ(t_used_calls, 1) << "GetPointer and GetArraySize call nothing";
  const SCFloatArray& same = array;
  EXPECT_EQ(same[-3], 1.0f) << "allocated on this access; a negative index is the first";
  EXPECT_EQ(t_used_calls, 2);
  EXPECT_EQ(array.GetArraySize(), 2);
  EXPECT_EQ(array.GetExtendedArraySize(), 3);
  EXPECT_EQ(array[0], 1.0f);
  EXPECT_EQ(array[99], 3.0f) << "clamped into the extended elements";
  EXPECT_EQ(t_used_calls, 2);

  SCFloatArray empty;
  empty.InternalSetArray(t_storage, 0);
  empty[0] = 9.0f;
  EXPECT_EQ(empty[40], 9.0f) << "size 0: the shared default element";
  EXPECT_EQ(t_storage[0], 1.0f);
}

TEST(SdkStandin, InputsHoldAndReadValuesAsThePlatformsSettersAndGettersDo) {
  s_SCInput_145 in{};
  EXPECT_EQ(in.SetYesNo(7).BooleanValue, 1u);
  EXPECT_EQ(in.SetTime(90000).GetTime(), 3600) << "whole days dropped";
  EXPECT_EQ(in.SetTime(-3600).GetTime(), -3600) << "negatives kept";
  in.SetTime(0).DateTimeValue = 5.0 / 1024;  // 421.875 s
  EXPECT_EQ(in.GetTime(), 422) << "rounded";
  in.DateTimeValue = 1e300;
  EXPECT_EQ(in.GetTime(), 0);
  EXPECT_EQ(in.SetTimeZone(TIMEZONE_UTC).IndexValue, 9u);
  EXPECT_EQ(in.GetTimeZone(), TIMEZONE_UTC);
  in.IndexValue = NUM_TIME_ZONES;
  EXPECT_EQ(in.GetTimeZone(), TIMEZONE_NOT_SPECIFIED);
  EXPECT_STREQ(in.GetString(), "Unset") << "not a text";
  EXPECT_FALSE(in.UsesStringValue());

  in.SetString("");
  EXPECT_EQ(in.StringValue, nullptr);
  EXPECT_TRUE(in.StringModified);
  EXPECT_STREQ(in.GetString(), "Unset");
  in.SetString("ES");
  EXPECT_STREQ(in.GetString(), "ES");
  in.SetString("NQ");  // frees "ES": it was set here
  EXPECT_STREQ(in.StringValue, "NQ");
  in.ClearString();
  EXPECT_EQ(in.StringValue, nullptr);

  in.SetInt(3);
  in.SetCustomInputStrings("a;b");  // no platform function: nothing at all
  EXPECT_EQ(in.ValueType, INT_VALUE);
}

TEST(SdkStandin, ADrawingStartsAtThePlatformsResetValues) {
  const s_UseTool tool;
  EXPECT_EQ(tool.ChartNumber, 0);
  EXPECT_EQ(tool.LineNumber, -1);
  EXPECT_EQ(tool.Region, -1);
  EXPECT_EQ(tool.BeginValue, FLT_MIN);
  EXPECT_EQ(tool.Color, 0xFF000000u);
  EXPECT_EQ(tool.DrawingType, DRAWING_UNKNOWN);
  EXPECT_EQ(tool.AddMethod, UTAM_ADD_OR_ADJUST);
  EXPECT_EQ(SC_DLL_VERSION, 2911);
  // The failure texts the core recognises in an answer, byte for byte.
  EXPECT_STREQ(ACSIL_HTTP_REQUEST_ERROR_TEXT, "HTTP_REQUEST_ERROR");
  EXPECT_STREQ(ACSIL_HTTP_EMPTY_RESPONSE_TEXT, "EMPTY_RESPONSE");
  EXPECT_EQ(HTTP_REQUEST_ERROR, 0);
}

}  // namespace

// Inputs through the platform entry, over the simulated platform's record: the request window
// judged in the zone the "Time Zone" input names, texts the platform hands at a reused address,
// and records whose inputs hold what no settings dialog writes (out of range, another type than
// declared, texts of any bytes), read the way the platform's own getters read them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "platform/binding_instance.h"
#include "platform/input_binding.h"
#include "platform/platform_call.h"
#include "platform/platform_sdk.h"
#include "sim/platform_record.h"
#include "sim/replay_datetime.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"
#include "study/study_entry.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kMinute = 60 * kMicrosPerSecond;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr char kNewYork[] = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr char kUtc[] = "UTC+00";

// Wall-clock time `seconds` after midnight of 2026-04-14 (a Tuesday, New York on daylight time).
DateTime on14th(std::int64_t seconds) {
  return dateTimeFromCivil(2026, 4, 14, seconds * kMicrosPerSecond);
}

struct Chart {
  Chart(bool through_platform, const char* host_zone)
      : platform(sim, &platform::runPlatformCall),
        study(through_platform ? PlatformRecord::studyFunction() : &ostrel::studyFunction) {
    sim.setHostZone(host_zone);
    sim.setBars(on14th(0), kMinute, 60);
    sim.runDefaults(study);
    sim.input(in::kApiKey).setText("demo-key");
    sim.input(in::kTicker).setText("SPX");
    sim.input(in::kFuturesTarget).setText("");
  }
  ~Chart() { sim.releaseStudy(study); }

  const CallRecord& call(DateTime t) {
    StudyHost& h = sim.host();
    h.CurrentTime = h.ClockTime = h.AltClockTime = t;
    h.CurrentBarIndex = h.BarCount - 1;
    return sim.runCall(study);
  }

  SimHost sim;
  PlatformRecord platform;
  StudyFunction study;
};

// The window is 09:30:00 to 23:00:00 in the input's zone whatever the chart's zone.
TEST(PlatformInputs, TheRequestWindowIsJudgedInTheZoneTheInputNames) {
  struct Case {
    const char* chart_zone;
    std::int32_t zone_input;
    std::int64_t chart_seconds;  // the chart's wall clock on the 14th (may pass midnight)
    bool open;
  };
  const std::int64_t h = 3600;
  const Case cases[] = {
      // A UTC chart, the window in New York (UTC-4): 13:30:00 to 03:00:00 UTC.
      {kUtc, 7, 13 * h + 29 * 60 + 59, false},
      {kUtc, 7, 13 * h + 30 * 60, true},
      {kUtc, 7, 9 * h + 30 * 60, false},
      {kUtc, 7, 27 * h, true},
      {kUtc, 7, 27 * h + 1, false},
      // A New York chart, the window in UTC: 05:30:00 to 19:00:00 New York.
      {kNewYork, 9, 5 * h + 29 * 60 + 59, false},
      {kNewYork, 9, 5 * h + 30 * 60, true},
      {kNewYork, 9, 19 * h, true},
      {kNewYork, 9, 19 * h + 1, false},
      {kNewYork, 9, 21 * h, false},
  };
  for (const bool through_platform : {false, true}) {
    for (const Case& c : cases) {
      Chart chart(through_platform, c.chart_zone);
      chart.sim.input(in::kTimeZone).setTimeZone(c.zone_input);
      const CallRecord& rec = chart.call(on14th(c.chart_seconds));
      EXPECT_EQ(rec.requests.size(), c.open ? 1u : 0u)
          << (through_platform ? "platform" : "direct") << " chart " << c.chart_zone
          << " zone input " << c.zone_input << " at " << c.chart_seconds << " s";
    }
  }
}

// Zone inputs the dialog cannot make (a chartbook may hold them): the platform's getter reads
// them as 0, no zone, and the window is judged in the chart's own zone, as the direct host does
// for an index outside the table.
TEST(PlatformInputs, AZoneIndexOutsideTheTableIsTheChartsOwnZone) {
  const std::int32_t indexes[] = {29, 1000, -1, std::numeric_limits<std::int32_t>::min()};
  for (const bool through_platform : {false, true}) {
    for (const std::int32_t index : indexes) {
      Chart chart(through_platform, kUtc);
      chart.sim.input(in::kTimeZone).setTimeZone(index);
      // 09:30 UTC, 05:30 in New York: open in the chart's zone only.
      const CallRecord& rec = chart.call(on14th(9 * 3600 + 30 * 60));
      EXPECT_EQ(rec.requests.size(), 1u)
          << (through_platform ? "platform" : "direct") << " zone index " << index;
    }
  }
}

// A text the platform hands at the address of the text it replaced (the heap gave the same
// block back) is still a new text.
TEST(PlatformInputs, AChangedTextAtTheOldTextsAddressIsSeen) {
  Chart chart(true, kNewYork);
  chart.call(on14th(10 * 3600));
  s_SCInput_145& ticker = chart.platform.record().Input[in::kTicker];
  ASSERT_TRUE(ticker.UsesStringValue());
  ASSERT_STREQ(ticker.StringValue, "SPX");
  char* text = const_cast<char*>(ticker.StringValue);
  std::memcpy(text, "NDX", 3);  // what a free and an allocation of the same size may leave
  chart.sim.input(in::kTicker).setText("NDX");  // so that the simulator writes nothing itself
  chart.call(on14th(10 * 3600 + 30));
  ASSERT_EQ(ticker.StringValue, text);
  auto* binding = static_cast<platform::BindingInstance*>(
      chart.platform.record().GetPersistentPointer(platform::kInstancePointerKey));
  ASSERT_NE(binding, nullptr);
  EXPECT_STREQ(binding->host().Inputs[in::kTicker].text.c_str(), "NDX");
}

// Every byte but the terminator, once each.
const std::string& everyByte() {
  static const std::string text = [] {
    std::string t;
    for (int i = 1; i < 256; ++i) t.push_back(static_cast<char>(i));
    return t;
  }();
  return text;
}

// The same kind of records through a whole call of the binding and the core: whatever the
// inputs hold, the call ends normally (the sanitizer build checks every conversion), and the
// premium the core repairs is written back as the platform reads a float.
TEST(PlatformInputs, ACallOverInputsOfAnyContentEndsNormally) {
  struct Case {
    const char* what;
    std::int32_t input;
    void (*set)(s_SCInput_145&);
  };
  const Case cases[] = {
      {"package index past its options", in::kPackage,
       [](s_SCInput_145& in) { in.SetCustomInputIndex(0xFFFFFFFFu); }},
      {"greek as a text", in::kGreek, [](s_SCInput_145& in) { in.SetString("0dte Gex"); }},
      {"interval as a huge float", in::kRequestInterval,
       [](s_SCInput_145& in) { in.SetFloat(-1e30f); }},
      {"start time negative", in::kRequestStartTime, [](s_SCInput_145& in) { in.SetTime(-1); }},
      {"end time of 1e300 days", in::kRequestEndTime,
       [](s_SCInput_145& in) { in.SetTime(0).DateTimeValue = 1e300; }},
      {"end time NaN", in::kRequestEndTime,
       [](s_SCInput_145& in) { in.SetTime(0).DateTimeValue = std::nan(""); }},
      {"zone as a colour", in::kTimeZone, [](s_SCInput_145& in) { in.SetColor(7); }},
      {"premium as a text", in::kMultiplicativePremium,
       [](s_SCInput_145& in) { in.SetString("1.5"); }},
      {"premium NaN", in::kMultiplicativePremium,
       [](s_SCInput_145& in) { in.SetFloat(std::nanf("")); }},
      {"ticker of control bytes", in::kTicker,
       [](s_SCInput_145& in) { in.SetString("\x1b[2J\xff\xfe"); }},
      {"ticker as a number", in::kTicker, [](s_SCInput_145& in) { in.SetInt(42); }},
      {"key of every byte", in::kApiKey,
       [](s_SCInput_145& in) { in.SetString(everyByte().c_str()); }},
  };
  for (const Case& c : cases) {
    Chart chart(true, kNewYork);
    chart.call(on14th(10 * 3600));
    platform::BindingInstance binding;
    s_sc& sc = chart.platform.record();
    s_SCInput_145& input = sc.Input[c.input];
    input.ClearString();
    c.set(input);
    chart.sim.runCall(nullptr);  // a fresh call record
    chart.sim.host().CurrentTime = on14th(10 * 3600 + 30);
    sc.CurrentSystemDateTime = SCDateTime::MICROSECONDS(on14th(10 * 3600 + 30));
    binding.run(sc);  // the record as it is: no simulator writes over the input
    if (c.input == in::kMultiplicativePremium) {
      EXPECT_EQ(input.ValueType, FLOAT_VALUE) << c.what << ": the premium is repaired";
      EXPECT_EQ(input.GetFloat(), 1.0f) << c.what;
    }
    sc.LastCallToFunction = 1;
    binding.run(sc);  // the instance's own state released
    sc.LastCallToFunction = 0;
  }
}

}  // namespace
}  // namespace ostrel::sim

// What the binding carries from one call to the next so that an idle call converts and writes
// nothing, against every change that must still reach the core or the platform: an input the
// platform changed (a value, a type, a text in place), a slot the core changed (a value, a
// type, a text in its own storage, a field of another type only), subgraph arrays the platform
// moved or resized, and another record in the next call.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/binding_instance.h"
#include "platform/input_binding.h"
#include "platform/platform_call.h"
#include "platform/platform_sdk.h"
#include "sim/platform_record.h"
#include "sim/replay_datetime.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kMinute = 60 * kMicrosPerSecond;
const DateTime kOpen = dateTimeFromCivil(2026, 4, 14, (9 * 60 + 30) * kMinute);

// A record the simulated platform filled in one call through the study, then driven by a
// binding of the test's own with steps in place of the study, as the platform calls it.
struct Record {
  Record() : platform(sim, &platform::runPlatformCall) {
    sim.setBars(kOpen, kMinute, 60);
    sim.runDefaults(PlatformRecord::studyFunction());
    sim.input(in::kApiKey).setText("demo-key-0123456789");
    sim.input(in::kTicker).setText("SPX");
    sim.runCall(PlatformRecord::studyFunction());
  }
  s_sc& sc() { return platform.record(); }
  s_SCInput_145& input(std::int32_t i) { return sc().Input[i]; }

  SimHost sim;
  PlatformRecord platform;
};

using Step = void (*)(StudyHost& host, void* context);
void nothing(StudyHost& /*host*/, void* /*context*/) {}

// The slot as the binding would convert the platform's input afresh.
StudyInput fresh(s_SCInput_145& input) {
  StudyInput slot;
  platform::readInput(input, slot);
  return slot;
}

// A text slot's number fields are not the core's to read and may hold anything.
void expectSlotIs(const StudyInput& slot, const StudyInput& want, const char* what) {
  EXPECT_EQ(slot.type, want.type) << what;
  EXPECT_EQ(slot.has_text, want.has_text) << what;
  EXPECT_STREQ(slot.text.c_str(), want.text.c_str()) << what;
  if (want.type == InputType::kText) return;
  EXPECT_EQ(slot.int_value, want.int_value) << what;
  EXPECT_EQ(slot.colour_value, want.colour_value) << what;
  EXPECT_EQ(std::memcmp(&slot.double_value, &want.double_value, sizeof(double)), 0) << what;
}

TEST(BindingCarryOver, WhatThePlatformChangedBetweenIdleCallsReachesTheCore) {
  struct Case {
    const char* what;
    std::int32_t input;
    void (*change)(s_SCInput_145&);
  };
  const Case cases[] = {
      {"a float's value", in::kAdditivePremium, [](s_SCInput_145& in) { in.SetFloat(2.5f); }},
      {"a float's lowest byte", in::kAdditivePremium,
       [](s_SCInput_145& in) { in.ValueBytes[0] ^= 0x01; }},
      {"a time of day's last byte", in::kRequestStartTime,
       [](s_SCInput_145& in) { in.ValueBytes[7] ^= 0x01; }},
      {"a list index", in::kPackage, [](s_SCInput_145& in) { in.SetCustomInputIndex(2); }},
      {"the type alone, same bytes", in::kRequestInterval,
       [](s_SCInput_145& in) { in.ValueType = FLOAT_VALUE; }},
      {"a colour", in::kCallGexVolumeColour, [](s_SCInput_145& in) { in.SetColor(0x123456u); }},
      {"a text in place, same length", in::kTicker,
       [](s_SCInput_145& in) { std::memcpy(const_cast<char*>(in.StringValue), "NDX", 3); }},
      {"a text in place, shorter", in::kTicker,
       [](s_SCInput_145& in) { const_cast<char*>(in.StringValue)[1] = '\0'; }},
      {"a long text in place, last letter", in::kApiKey,
       [](s_SCInput_145& in) {
         char* text = const_cast<char*>(in.StringValue);
         text[std::strlen(text) - 1] = 'X';
       }},
      {"a text cleared", in::kTicker, [](s_SCInput_145& in) { in.SetString(""); }},
      {"a text replaced by a number", in::kTicker,
       [](s_SCInput_145& in) {
         in.ClearString();
         in.SetInt(7);
       }},
      {"a number replaced by a text", in::kRequestInterval,
       [](s_SCInput_145& in) { in.SetString("30"); }},
  };
  for (const Case& c : cases) {
    Record record;
    platform::BindingInstance binding;
    binding.runStep(record.sc(), &nothing, nullptr);
    binding.runStep(record.sc(), &nothing, nullptr);  // idle: nothing converted
    s_SCInput_145& held = record.input(c.input);
    expectSlotIs(binding.host().Inputs[c.input], fresh(held), "before");
    c.change(held);
    const StudyInput want = fresh(held);
    const char* text = held.StringValue;
    binding.runStep(record.sc(), &nothing, nullptr);
    expectSlotIs(binding.host().Inputs[c.input], want, c.what);
    // Nor did the binding take its stale slot for the core's change and write it back.
    EXPECT_EQ(held.StringValue, text) << c.what;
    expectSlotIs(fresh(held), want, c.what);
    record.sc().LastCallToFunction = 1;
    binding.run(record.sc());
    record.sc().LastCallToFunction = 0;
  }
}

// Whether `call` wrote the input: its type or value bytes changed. A text is first made the
// platform's own (as a chartbook loads it, not marked modified), which SetString leaves in place:
// a write then moves the text and sets the mark, whatever address the heap hands back (a heap
// that returns the block it just freed would otherwise hide a write of a same-length text).
template <typename Call>
bool writes(s_SCInput_145& held, Call call) {
  const char* platform_text = nullptr;
  if (held.UsesStringValue() && held.StringValue != nullptr) {
    platform_text = held.StringValue;
    held.StringModified = false;
  }
  unsigned char before[sizeof held.ValueBytes];
  std::memcpy(before, held.ValueBytes, sizeof before);
  const unsigned char type_before = held.ValueType;
  call();
  const bool written =
      held.ValueType != type_before || std::memcmp(before, held.ValueBytes, sizeof before) != 0;
  if (platform_text != nullptr) {
    // Still in place: ClearString's to free again; moved: the platform lets its copy go.
    if (held.UsesStringValue() && held.StringValue == platform_text) {
      held.StringModified = true;
    } else {
      std::free(const_cast<char*>(platform_text));
    }
  }
  return written;
}

TEST(BindingCarryOver, WhatTheCoreChangedIsWrittenOnceAndReadBackAsThePlatformHoldsIt) {
  struct Case {
    const char* what;
    std::int32_t input;
    Step change;
    bool written;
    void (*check)(const s_SCInput_145& platform, const StudyInput& next_slot);
  };
  const Case cases[] = {
      {"a float", in::kAdditivePremium,
       [](StudyHost& h, void*) { h.Inputs[in::kAdditivePremium].setFloat(0.1f); }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_EQ(p.FloatValue, 0.1f);
         EXPECT_EQ(s.double_value, static_cast<double>(0.1f));
       }},
      {"a double no float holds", in::kAdditivePremium,
       [](StudyHost& h, void*) { h.Inputs[in::kAdditivePremium].double_value = 0.1; }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_EQ(p.FloatValue, 0.1f);
         EXPECT_EQ(s.double_value, static_cast<double>(0.1f)) << "read back as held";
       }},
      {"a list index the platform clamps", in::kGexDisplay,
       [](StudyHost& h, void*) { h.Inputs[in::kGexDisplay].setCustomList(-3); }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_EQ(p.IndexValue, 0u);
         EXPECT_EQ(s.int_value, 0);
       }},
      {"another type", in::kRequestInterval,
       [](StudyHost& h, void*) { h.Inputs[in::kRequestInterval].setFloat(2.0f); }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_EQ(p.ValueType, FLOAT_VALUE);
         EXPECT_EQ(s.type, InputType::kFloat);
       }},
      {"a text in its own storage, same length", in::kTicker,
       [](StudyHost& h, void*) { h.Inputs[in::kTicker].text.assign("NDX"); }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_STREQ(p.StringValue, "NDX");
         EXPECT_STREQ(s.text.c_str(), "NDX");
       }},
      {"a long text's last letter", in::kApiKey,
       [](StudyHost& h, void*) { h.Inputs[in::kApiKey].text.assign("demo-key-012345678X"); }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_STREQ(p.StringValue, "demo-key-012345678X");
         EXPECT_STREQ(s.text.c_str(), "demo-key-012345678X");
       }},
      {"a text let go", in::kTicker,
       [](StudyHost& h, void*) { h.Inputs[in::kTicker].setText(nullptr); }, true,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_EQ(p.StringValue, nullptr);
         EXPECT_STREQ(s.text.c_str(), "");
       }},
      {"a field of another type only", in::kAdditivePremium,
       [](StudyHost& h, void*) { h.Inputs[in::kAdditivePremium].int_value = 99; }, false,
       [](const s_SCInput_145& p, const StudyInput& s) {
         EXPECT_EQ(p.ValueType, FLOAT_VALUE);
         EXPECT_EQ(s.int_value, 99) << "left to the core";
       }},
      {"a text's content, the same", in::kTicker,
       [](StudyHost& h, void*) { h.Inputs[in::kTicker].text.assign("SPX"); }, false,
       [](const s_SCInput_145& p, const StudyInput&) { EXPECT_STREQ(p.StringValue, "SPX"); }},
  };
  for (const Case& c : cases) {
    Record record;
    platform::BindingInstance binding;
    binding.runStep(record.sc(), &nothing, nullptr);
    binding.runStep(record.sc(), &nothing, nullptr);
    s_SCInput_145& held = record.input(c.input);
    EXPECT_EQ(writes(held, [&] { binding.runStep(record.sc(), c.change, nullptr); }), c.written)
        << c.what;
    EXPECT_FALSE(writes(held, [&] { binding.runStep(record.sc(), &nothing, nullptr); }))
        << c.what << ": written again in the next call";
    c.check(held, binding.host().Inputs[c.input]);
    record.sc().LastCallToFunction = 1;
    binding.run(record.sc());
    record.sc().LastCallToFunction = 0;
  }
}

// What a step saw of the record's arrays.
struct Seen {
  const float* values = nullptr;
  std::int32_t value_count = 0;
  const std::uint32_t* colours = nullptr;
  std::int32_t colour_count = 0;
  const DateTime* bar_times = nullptr;
  std::int32_t bar_count = 0;
};

void look(StudyHost& host, void* context) {
  Seen& seen = *static_cast<Seen*>(context);
  const Subgraph& s = host.Subgraphs[3];
  seen = Seen{s.values, s.value_count, s.colours, s.colour_count, host.BarTimes, host.BarCount};
}

TEST(BindingCarryOver, ArraysThePlatformMovedOrResizedReachTheCoreInTheNextCall) {
  // The platform's new storage, alive until the record's last call.
  std::vector<float> values(61, 0.0f);
  std::vector<std::uint32_t> colours(61, 0u);
  std::vector<SCDateTime> times(61);
  Record record;
  s_sc& sc = record.sc();
  platform::BindingInstance binding;
  Seen seen;
  binding.runStep(sc, &look, &seen);
  binding.runStep(sc, &look, &seen);
  EXPECT_EQ(seen.values, sc.Subgraph[3].Data.GetPointer());
  EXPECT_EQ(seen.bar_count, 60);

  // More bars: every array is reallocated and longer.
  for (int i = 0; i < 61; ++i) times[i] = SCDateTime::MICROSECONDS(kOpen + i * kMinute);
  sc.Subgraph[3].Data.InternalSetArray(values.data(), 61);
  sc.Subgraph[3].DataColor.InternalSetArray(colours.data(), 61);
  sc.BaseDateTimeIn.InternalSetArray(times.data(), 61);
  sc.ArraySize = 61;
  binding.runStep(sc, &look, &seen);
  EXPECT_EQ(seen.values, values.data());
  EXPECT_EQ(seen.value_count, 61);
  EXPECT_EQ(seen.colours, colours.data());
  EXPECT_EQ(seen.colour_count, 61);
  EXPECT_EQ(seen.bar_times, reinterpret_cast<const DateTime*>(times.data()));
  EXPECT_EQ(seen.bar_count, 61);

  // The same storage, one element shorter (the platform trimmed the array).
  sc.Subgraph[3].Data.InternalSetArray(values.data(), 60);
  binding.runStep(sc, &look, &seen);
  EXPECT_EQ(seen.value_count, 60);

  // An array the platform let go: nothing of it reaches the core.
  sc.Subgraph[3].DataColor.InternalSetArray(nullptr, 0);
  sc.ArraySize = 0;
  binding.runStep(sc, &look, &seen);
  EXPECT_EQ(seen.colours, nullptr);
  EXPECT_EQ(seen.colour_count, 0);
  EXPECT_EQ(seen.bar_times, nullptr);
  EXPECT_EQ(seen.bar_count, 0);

  sc.LastCallToFunction = 1;
  binding.run(sc);
}

// What a step saw of the record through its inputs and operations.
struct Through {
  std::string ticker;
  double premium = 0.0;
  bool direct_get = false;
};

void lookThrough(StudyHost& host, void* context) {
  Through& seen = *static_cast<Through*>(context);
  seen.ticker = host.Inputs[in::kTicker].text.c_str();
  seen.premium = host.Inputs[in::kAdditivePremium].double_value;
  seen.direct_get = host.Ops.DirectHttpsGet != nullptr;
}

TEST(BindingCarryOver, AnotherRecordInTheNextCallIsReadForWhatItHolds) {
  Record first;
  Record second;
  second.input(in::kAdditivePremium).SetFloat(4.0f);
  second.input(in::kTicker).SetString("NDX");
  second.sc().StandinDirectHttpsGet = nullptr;
  platform::BindingInstance binding;
  Through seen;
  for (int round = 0; round < 2; ++round) {
    binding.runStep(first.sc(), &lookThrough, &seen);
    EXPECT_EQ(seen.ticker, "SPX");
    EXPECT_EQ(seen.premium, 0.0);
    EXPECT_TRUE(seen.direct_get);
    binding.runStep(second.sc(), &lookThrough, &seen);
    EXPECT_EQ(seen.ticker, "NDX");
    EXPECT_EQ(seen.premium, 4.0);
    EXPECT_FALSE(seen.direct_get) << "the operation follows the record";
  }
  first.sc().LastCallToFunction = 1;
  binding.run(first.sc());
}

}  // namespace
}  // namespace ostrel::sim

// A host may hand the study any field values and call it in any order; none of that may crash
// the process, leak the study's records or leave a dangling stored pointer. On Windows every
// case also runs against the direct-entry DLL (ostrel_v4_64_direct.dll), loaded at run time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_host.h"
#include "sim/study_loader.h"
#include "study/state_keys.h"
#include "study/study_entry.h"
#if defined(_WIN32)
#include "sim/study_library.h"
#endif

namespace ostrel {
namespace {

using Limits32 = std::numeric_limits<std::int32_t>;
using Limits64 = std::numeric_limits<std::int64_t>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

#if defined(_WIN32)
const sim::StudyLibrary& studyDll() {
  static sim::StudyLibrary library;
  static const bool loaded =
      library.load(std::string(OSTREL_BINARY_DIR "/") + sim::StudyLibrary::kFileName);
  (void)loaded;
  return library;
}
#endif

class HostileHost : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
#if defined(_WIN32)
    if (GetParam() == "dll") {
      ASSERT_NE(studyDll().entry().function, nullptr) << studyDll().error();
      study_ = studyDll().entry().function;
      return;
    }
#endif
    study_ = sim::linkedStudy().function;
  }

  void (*study_)(StudyHost&) = nullptr;
};

// A record as a careless host might leave it: every number 0, every pointer and operation null.
void zero(StudyHost& h) {
  h.RecordSize = 0;
  h.InterfaceVersion = 0;
  h.IsDefaultsCall = h.IsRemovalCall = h.IsSuspended = h.IsFullRecalc = 0;
  h.BarCount = 0;
  h.BarTimes = nullptr;
  h.RecalcFromBar = h.CurrentBarIndex = h.ChartId = 0;
  h.PriceTick = 0.0f;
  h.CurrentTime = h.ClockTime = h.AltClockTime = 0;
  h.UseAltClock = 0;
  h.ResponseReady = 0;
  h.ResponseText = nullptr;
  h.HostBuild = 0;
  h.EarliestChangedBar = 0;
  h.Inputs = nullptr;
  h.InputCount = 0;
  h.Subgraphs = nullptr;
  h.SubgraphCount = 0;
  h.Ops = StudyHostOperations{};
  h.HostContext = nullptr;
}

void setCallKind(StudyHost& h, int bits) {
  h.IsDefaultsCall = bits & 1;
  h.IsRemovalCall = (bits >> 1) & 1;
  h.IsSuspended = (bits >> 2) & 1;
  h.IsFullRecalc = (bits >> 3) & 1;
}

TEST_P(HostileHost, ZeroedRecordInEveryCallKind) {
  StudyHost h;
  zero(h);
  for (int bits = 0; bits < 16; ++bits) {
    setCallKind(h, bits);
    study_(h);
  }
  EXPECT_TRUE(h.StudyTitle.empty());  // no input slots: nothing to declare into
}

// Input and subgraph lists whose counts do not describe what the pointers hold.
TEST_P(HostileHost, ListsThatDisagreeWithTheirCounts) {
  StudyInput one_input;
  Subgraph one_subgraph;  // no value arrays at all
  struct Lists {
    StudyInput* inputs;
    std::int32_t input_count;
    Subgraph* subgraphs;
    std::int32_t subgraph_count;
  };
  const Lists cases[] = {
      {&one_input, 0, &one_subgraph, 1},
      {&one_input, 1, &one_subgraph, 0},
      {&one_input, -1, &one_subgraph, -1},
      {&one_input, Limits32::min(), &one_subgraph, Limits32::min()},
      {nullptr, 110, nullptr, 19},
      {&one_input, 1, nullptr, 19},
      {&one_input, 1, &one_subgraph, 1},  // far fewer slots than the study declares
  };
  for (const Lists& c : cases) {
    StudyHost h;
    zero(h);
    h.Inputs = c.inputs;
    h.InputCount = c.input_count;
    h.Subgraphs = c.subgraphs;
    h.SubgraphCount = c.subgraph_count;
    h.BarCount = 5;
    for (int bits : {1, 0, 8, 0, 4, 2, 2, 0}) {
      setCallKind(h, bits);
      study_(h);
    }
  }
}

// Fewer input slots than the premiums need: the repair of a multiplicative premium not above 0
// must not land on the host's last slot (the ticker becoming the float 1.0, say).
TEST_P(HostileHost, FewInputsAreNotOverwrittenByThePremiumRepair) {
  for (std::int32_t count : {1, 3, 4}) {
    SCOPED_TRACE(count);
    std::vector<StudyInput> inputs(static_cast<std::size_t>(count));
    Subgraph subgraph;
    StudyHost h;
    zero(h);
    h.Inputs = inputs.data();
    h.InputCount = count;
    h.Subgraphs = &subgraph;
    h.SubgraphCount = 1;
    StudyInput& last = inputs.back();
    if (count == 4) {
      last.setFloat(0.0f);  // the additive premium, which may well be 0
    } else {
      last.setText("SPX");
    }
    for (int bits : {0, 8, 4, 0}) {
      setCallKind(h, bits);
      study_(h);
    }
    if (count == 4) {
      EXPECT_EQ(last.type, InputType::kFloat);
      EXPECT_EQ(last.double_value, 0.0);
    } else {
      EXPECT_EQ(last.type, InputType::kText);
      EXPECT_STREQ(last.text.c_str(), "SPX");
    }
  }
}

// Full-size lists, no operations, and the chart and clock fields at their extremes.
TEST_P(HostileHost, ExtremeFieldValuesWithoutOperations) {
  std::vector<StudyInput> inputs(110);
  std::vector<Subgraph> subgraphs(19);
  std::vector<float> values(3, 1.0f);
  subgraphs[0].values = values.data();
  subgraphs[0].value_count = static_cast<std::int32_t>(values.size());
  const DateTime times[] = {0, Limits64::min(), Limits64::max()};
  struct Fields {
    std::int32_t bar_count;
    const DateTime* bar_times;
    std::int32_t current_bar;
    std::int32_t recalc_from;
    DateTime now;
    float tick;
    const char* response;
  };
  const Fields cases[] = {
      {Limits32::max(), nullptr, Limits32::max(), Limits32::min(), Limits64::max(), kNaN, nullptr},
      {Limits32::min(), nullptr, Limits32::min(), Limits32::max(), Limits64::min(), -kInf, ""},
      {-1, times, -1, -1, -1, -0.0f, "[{\"strike\": 1e999}]"},
      {3, times, 2, 0, 46000LL * 86400000000LL, 0.25f, "\xff\xfe{"},
      {3, times, 7, 2, 46000LL * 86400000000LL + 34200000000LL, kInf, "{\"error\": null}"},
  };
  StudyHost h;
  zero(h);
  h.Inputs = inputs.data();
  h.InputCount = 110;
  h.Subgraphs = subgraphs.data();
  h.SubgraphCount = 19;
  h.IsDefaultsCall = 1;
  study_(h);
  h.IsDefaultsCall = 0;
  for (const Fields& c : cases) {
    h.BarCount = c.bar_count;
    h.BarTimes = c.bar_times;
    h.CurrentBarIndex = c.current_bar;
    h.RecalcFromBar = c.recalc_from;
    h.CurrentTime = h.ClockTime = h.AltClockTime = c.now;
    h.UseAltClock = c.now < 0 ? 1 : 0;
    h.PriceTick = c.tick;
    h.ChartId = c.current_bar;
    h.HostBuild = c.recalc_from;
    h.ResponseReady = 1;
    h.ResponseText = c.response;
    for (int bits : {8, 0, 0, 4, 0}) {
      setCallKind(h, bits);
      study_(h);
    }
  }
  EXPECT_EQ(h.StudyTitle, "Gex Profile");
}

// Stored-value operations that keep nothing: every lookup answers null and pointer writes are
// dropped. Records the study creates must not outlive the call (LeakSanitizer sees them).
std::int32_t* noInt(StudyHost*, std::int32_t) { return nullptr; }
DateTime* noTime(StudyHost*, std::int32_t) { return nullptr; }
HostString* noText(StudyHost*, std::int32_t) { return nullptr; }
float* noFloat(StudyHost*, std::int32_t) { return nullptr; }
void* noPointer(StudyHost*, std::int32_t) { return nullptr; }
void dropPointer(StudyHost*, std::int32_t, void*) {}
std::int32_t startAlways(StudyHost*, const char*, const char*, const HttpHeaderField*,
                         std::int32_t) {
  return 1;
}

TEST_P(HostileHost, StoresThatKeepNothing) {
  std::vector<StudyInput> inputs(110);
  std::vector<Subgraph> subgraphs(19);
  StudyHost h;
  zero(h);
  h.Inputs = inputs.data();
  h.InputCount = 110;
  h.Subgraphs = subgraphs.data();
  h.SubgraphCount = 19;
  h.Ops.StoredInt = &noInt;
  h.Ops.StoredTime = &noTime;
  h.Ops.StoredText = &noText;
  h.Ops.StoredFloat = &noFloat;
  h.Ops.StoredPointer = &noPointer;
  h.Ops.SetStoredPointer = &dropPointer;
  h.Ops.StartHttpRequest = &startAlways;
  h.IsDefaultsCall = 1;
  study_(h);
  h.IsDefaultsCall = 0;
  h.BarCount = 1;
  h.CurrentTime = h.ClockTime = 46000LL * 86400000000LL + 36000000000LL;  // 10:00
  const char* answers[] = {nullptr, "[]", "{\"error\": \"Invalid API key\"}", "not json"};
  for (const char* answer : answers) {
    for (int bits : {8, 0, 0, 4, 2, 0}) {
      setCallKind(h, bits);
      h.ResponseReady = answer != nullptr ? 1 : 0;
      h.ResponseText = answer;
      study_(h);
    }
  }
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A working host, called in orders no platform should use: updates before the defaults call,
// removal twice, calls after removal, the defaults call again mid-run, answers arriving in
// any call. After every removal call the study holds no record.
TEST_P(HostileHost, AnyCallOrderOnAWorkingHost) {
  const std::string profile = readFile(OSTREL_SOURCE_DIR "/tests/golden/spx-gex-small.json");
  ASSERT_FALSE(profile.empty());
  const std::string history =
      "[{\"timestamp\": 1773149400, \"major_call_gamma\": 5510, \"major_put_gamma\": 5450, "
      "\"zero_gamma\": 5480.5}]";
  // A profile, a history, a null text and a profile cut short.
  const std::optional<std::string> answers[] = {profile, history, std::nullopt,
                                                profile.substr(0, 300)};
  sim::SimHost sim;
  const DateTime open = 46091LL * 86400000000LL + 34200000000LL;  // 2026-03-10 09:30
  sim.setBars(open, 60000000, 30);
  StudyHost& h = sim.host();
  h.PriceTick = 0.25f;
  enum Kind { kDefaults, kUpdate, kRecalc, kRemoval, kSuspended };
  // Deterministic, so a failure names a reproducible step.
  std::uint32_t seed = 12345u;
  const auto next = [&seed](std::uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  const Kind opening[] = {kUpdate, kRemoval, kRemoval, kSuspended, kRecalc, kDefaults, kDefaults};
  std::size_t placed = 0;
  for (int step = 0; step < 300; ++step) {
    SCOPED_TRACE(step);
    const Kind kind = step < 7 ? opening[step] : static_cast<Kind>(next(5));
    h.IsDefaultsCall = kind == kDefaults ? 1 : 0;
    h.IsFullRecalc = kind == kRecalc ? 1 : 0;
    h.IsRemovalCall = kind == kRemoval ? 1 : 0;
    h.IsSuspended = kind == kSuspended ? 1 : 0;
    h.CurrentTime = h.ClockTime = open + static_cast<DateTime>(step) * 7000000;
    h.CurrentBarIndex = static_cast<std::int32_t>(next(31)) - 1;
    sim::CallScript script;
    const std::uint32_t pick = next(6);
    if (pick < 4) {  // otherwise no answer in this call
      script.response_ready = true;
      script.response_text = answers[pick];
    }
    script.start_request_fails = next(4) == 0;
    script.place_all_fail = next(8) == 0;
    placed += sim.runCall(study_, script).placed.size();
    if (kind == kRemoval) {
      const auto& pointers = sim.storedPointers().values;
      for (std::int32_t k : {key::p_gex_data, key::p_greek_data}) {
        const auto it = pointers.find(k);
        EXPECT_TRUE(it == pointers.end() || it->second == nullptr) << "pointer " << k;
      }
    }
  }
  EXPECT_GT(placed, 0u);  // the run got as far as drawing profiles
  h.IsDefaultsCall = h.IsFullRecalc = h.IsSuspended = 0;
  sim.releaseStudy(study_);
  for (const auto& entry : sim.storedPointers().values) EXPECT_EQ(entry.second, nullptr);
}

std::vector<std::string> studies() {
#if defined(_WIN32)
  return {"linked", "dll"};
#else
  return {"linked"};
#endif
}

INSTANTIATE_TEST_SUITE_P(Study, HostileHost, ::testing::ValuesIn(studies()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
}  // namespace ostrel

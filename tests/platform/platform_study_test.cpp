// The study through its platform entry, over the simulated platform (sim/platform_record.h):
// answers matched to requests by id, text inputs, write-back of inputs, the study's user-drawn
// drawings, the binding's own state, and records that lack inputs, arrays or operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "platform/binding_instance.h"
#include "platform/platform_call.h"
#include "platform/platform_sdk.h"
#include "sim/platform_record.h"
#include "sim/replay_datetime.h"
#include "sim/replay_scenario.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"
#include "study/study_entry.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kMinute = 60 * kMicrosPerSecond;
// 2026-04-14 (a Tuesday) 09:30 and 10:29 New York time.
const DateTime kOpen = dateTimeFromCivil(2026, 4, 14, (9 * 60 + 30) * kMinute);
const DateTime kLater = dateTimeFromCivil(2026, 4, 14, (10 * 60 + 29) * kMinute);

const char kHistory[] =
    "[{\"timestamp\": 1776173400, \"major_call_gamma\": %s, \"major_put_gamma\": 5450, "
    "\"zero_gamma\": 5480.5}]";

std::string history(const char* call_level) {
  std::string text(kHistory);
  text.replace(text.find("%s"), 2, call_level);
  return text;
}

std::string profileAnswer() {
  return readFileBytes(std::string(OSTREL_SOURCE_DIR) + "/tests/golden/spx-gex-small.json");
}

// A chart like the first-profile scenario's, driven through the platform entry or directly.
struct Chart {
  explicit Chart(bool through_platform)
      : platform(sim, &platform::runPlatformCall),
        study(through_platform ? PlatformRecord::studyFunction() : &ostrel::studyFunction) {
    sim.setBars(kOpen, kMinute, 60);
    sim.runDefaults(study);
    sim.input(in::kApiKey).setText("demo-key");
    sim.input(in::kTicker).setText("SPX");
    sim.input(in::kFuturesTarget).setText("");
  }
  // The platform's last call, so that the study releases its records.
  ~Chart() { sim.releaseStudy(study); }

  const CallRecord& call(DateTime t, bool full_recalc = false,
                         const std::string* answer = nullptr) {
    StudyHost& h = sim.host();
    h.CurrentTime = h.ClockTime = h.AltClockTime = t;
    h.IsFullRecalc = full_recalc ? 1 : 0;
    h.CurrentBarIndex = h.BarCount - 1;
    CallScript script;
    if (answer != nullptr) {
      script.response_ready = true;
      script.response_text = *answer;
    }
    return sim.runCall(study, script);
  }

  SimHost sim;
  PlatformRecord platform;
  StudyFunction study;
};

TEST(PlatformAnswers, ALateProfileAnswerAfterAFullRecalculationLeavesTheHistoryIntact) {
  for (const bool through_platform : {false, true}) {
    Chart chart(through_platform);
    const std::string first = history("5510");
    const std::string second = history("5520");
    const std::string profile = profileAnswer();
    chart.call(kLater, /*full_recalc=*/true);                         // history request
    chart.call(kLater + kMicrosPerSecond, false, &first);             // its answer; profile request
    chart.call(kLater + 2 * kMicrosPerSecond, /*full_recalc=*/true);  // a new history request
    chart.call(kLater + 3 * kMicrosPerSecond, false, &profile);       // the old profile's answer
    chart.call(kLater + 4 * kMicrosPerSecond, false, &second);        // the new history's answer
    const float level = chart.sim.subgraph(0).value(0);
    if (through_platform) {
      EXPECT_EQ(level, 5520.0f) << "the new history is drawn";
    } else {
      // The direct host has no request ids: the profile answer passed for the history.
      EXPECT_EQ(level, 5510.0f);
    }
  }
}

TEST(PlatformAnswers, AnAnswerWithNoRequestOutstandingReachesNobody) {
  Chart chart(true);
  const std::string profile = profileAnswer();
  const CallRecord& rec = chart.call(kLater, false, &profile);
  EXPECT_TRUE(rec.placed.empty());
  EXPECT_EQ(chart.platform.record().HTTPRequestID, 0);
}

// The platform may deliver an answer again under the same request id: the core takes it once.
TEST(PlatformAnswers, AnAnswerDeliveredTwiceReachesTheCoreOnce) {
  Chart chart(true);
  s_sc& sc = chart.platform.record();
  platform::BindingInstance binding;
  binding.setPendingRequest(5);
  sc.HTTPRequestID = 5;
  sc.HTTPResponse = "[]";
  std::vector<std::int32_t> seen;
  const auto probe = [](StudyHost& h, void* context) {
    static_cast<std::vector<std::int32_t>*>(context)->push_back(h.ResponseReady);
  };
  for (int i = 0; i < 3; ++i) binding.runStep(sc, probe, &seen);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 0, 0}));
}

// What UseTool receives, drawing by drawing.
struct Received {
  std::int32_t chart;
  std::int32_t region;
  std::int32_t type;
};
std::vector<Received>* t_received = nullptr;
int (*t_use_tool)(s_UseTool&) = nullptr;
int receivingUseTool(s_UseTool& tool) {
  t_received->push_back({tool.ChartNumber, tool.Region, tool.DrawingType});
  return t_use_tool(tool);
}

// Lines name the chart themselves, bars and dots leave it at 0, none names a region: each
// reaches the platform on the study's own chart and region.
TEST(PlatformDrawings, EveryDrawingLandsOnTheStudysChartAndRegion) {
  struct Case {
    std::int32_t chart;
    std::int32_t region;
  };
  for (const Case c : {Case{1, 0}, Case{7, 2}}) {
    Chart chart(true);
    chart.sim.host().ChartId = c.chart;
    chart.sim.host().RegionSetting = c.region;
    s_sc& sc = chart.platform.record();
    std::vector<Received> received;
    t_received = &received;
    t_use_tool = sc.Internal_UseDrawingTool;
    sc.Internal_UseDrawingTool = &receivingUseTool;
    const std::string levels = history("5510");
    const std::string profile = profileAnswer();
    chart.call(kLater, /*full_recalc=*/true);
    chart.call(kLater + kMicrosPerSecond, false, &levels);
    const CallRecord& rec = chart.call(kLater + 2 * kMicrosPerSecond, false, &profile);
    int types[3] = {0, 0, 0};  // lines, bars, dots
    for (const Received& r : received) {
      EXPECT_EQ(r.chart, c.chart) << "type " << r.type;
      EXPECT_EQ(r.region, c.region) << "type " << r.type;
      types[0] += r.type == DRAWING_HORIZONTALLINE ? 1 : 0;
      types[1] += r.type == DRAWING_RECTANGLEHIGHLIGHT ? 1 : 0;
      types[2] += r.type == DRAWING_MARKER ? 1 : 0;
    }
    EXPECT_GT(types[0], 0);
    EXPECT_GT(types[1], 0);
    EXPECT_GT(types[2], 0);
    EXPECT_EQ(rec.placed.size(), received.size()) << "the simulated platform placed them all";
    sc.Internal_UseDrawingTool = t_use_tool;
  }
}

TEST(PlatformInputs, AClearedFuturesTargetTurnsTheConversionOff) {
  for (const bool through_platform : {false, true}) {
    Chart chart(through_platform);
    chart.sim.input(in::kFuturesTarget).setText(nullptr);  // the user cleared the field
    const CallRecord& rec = chart.call(kLater);
    if (through_platform) {
      EXPECT_TRUE(rec.conversions.empty());
    } else {
      ASSERT_EQ(rec.conversions.size(), 1u);  // a slot without text reads "Unset"
      EXPECT_NE(rec.conversions[0].path.find("future=UNSET"), std::string::npos);
    }
  }
}

TEST(PlatformInputs, OnlyWhatTheStudyChangedIsWrittenBack) {
  Chart chart(true);
  chart.sim.input(in::kMultiplicativePremium).setFloat(0.0f);
  chart.call(kLater);  // the first update call creates the binding's state
  // From here the record is called directly, as the platform calls it, with no simulator
  // writing the SimHost's inputs over it.
  s_sc& sc = chart.platform.record();
  const char* ticker = sc.Input[in::kTicker].StringValue;
  // A name the platform holds unmarked: any assignment would mark it.
  SCString& name = sc.Input[in::kTicker].Name;
  name.~SCString();
  new (&name) SCString();
  sc.Input[in::kMultiplicativePremium].SetFloat(-2.5f);
  platform::runPlatformCall(sc);
  const s_SCInput_145& premium = sc.Input[in::kMultiplicativePremium];
  EXPECT_EQ(premium.ValueType, FLOAT_VALUE);
  EXPECT_EQ(premium.FloatValue, 1.0f);
  EXPECT_EQ(sc.Input[in::kTicker].StringValue, ticker) << "an unchanged text is not rewritten";
  EXPECT_FALSE(sc.Input[in::kTicker].Name.IsModified()) << "the binding writes no name";
}

TEST(PlatformRecordState, TheBindingFreesItsStateOnTheLastCall) {
  Chart chart(true);
  s_sc& sc = chart.platform.record();
  chart.call(kLater);
  EXPECT_NE(sc.GetPersistentPointer(platform::kInstancePointerKey), nullptr);
  chart.sim.host().IsRemovalCall = 1;
  chart.call(kLater + kMicrosPerSecond);
  chart.sim.host().IsRemovalCall = 0;
  EXPECT_EQ(sc.GetPersistentPointer(platform::kInstancePointerKey), nullptr);
  // The study's own pointer keys never show the binding's state.
  EXPECT_EQ(chart.sim.storedPointers().values.count(platform::kInstancePointerKey), 0u);
}

// A chartbook being closed may hand the last call with the defaults flag still set: the
// instance, its records and its drawings go all the same.
TEST(PlatformRecordState, ALastCallFlaggedAsDefaultsStillFreesEverything) {
  Chart chart(true);
  s_sc& sc = chart.platform.record();
  const std::string first = history("5510");
  const std::string profile = profileAnswer();
  chart.call(kLater, /*full_recalc=*/true);
  chart.call(kLater + kMicrosPerSecond, false, &first);
  chart.call(kLater + 2 * kMicrosPerSecond, false, &profile);
  ASSERT_FALSE(chart.sim.drawings().empty());
  StudyHost& h = chart.sim.host();
  h.IsRemovalCall = 1;
  h.IsDefaultsCall = 1;
  chart.call(kLater + 3 * kMicrosPerSecond);
  h.IsRemovalCall = 0;
  h.IsDefaultsCall = 0;
  EXPECT_EQ(sc.GetPersistentPointer(platform::kInstancePointerKey), nullptr);
  EXPECT_EQ(chart.sim.storedPointers().values.at(0), nullptr);
  EXPECT_EQ(chart.sim.storedPointers().values.at(1), nullptr);
  for (const auto& entry : chart.sim.drawings()) EXPECT_FALSE(entry.second.study_own);
}

}  // namespace
}  // namespace ostrel::sim

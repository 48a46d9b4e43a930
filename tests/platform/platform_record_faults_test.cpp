// The binding against platforms that behave less kindly than the simulated one: a delete-all
// that spares user-drawn drawings, records short of inputs, subgraph arrays or operations, and
// version texts of every shape.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_call.h"
#include "platform/platform_sdk.h"
#include "sim/platform_record.h"
#include "sim/replay_datetime.h"
#include "sim/replay_scenario.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kMinute = 60 * kMicrosPerSecond;
const DateTime kOpen = dateTimeFromCivil(2026, 4, 14, (9 * 60 + 30) * kMinute);
const DateTime kLater = dateTimeFromCivil(2026, 4, 14, (10 * 60 + 29) * kMinute);

SimHost* t_sim = nullptr;  // the chart of the running test, for the operations below

// TOOL_DELETE_ALL that leaves user-drawn drawings alone, as a platform may.
int deleteSparingUserDrawn(int chart, int which, int number) {
  StudyHost& h = t_sim->host();
  if (which != TOOL_DELETE_ALL) return h.Ops.RemoveDrawing(&h, chart, number);
  std::vector<std::int32_t> doomed;
  for (const auto& entry : t_sim->drawings()) {
    if (entry.second.study_own && entry.second.spec.CopySettingA != 1)
      doomed.push_back(entry.first);
  }
  for (std::int32_t n : doomed) h.Ops.RemoveDrawing(&h, chart, n);
  return static_cast<int>(doomed.size());
}

struct Chart {
  Chart() : platform(sim, &platform::runPlatformCall) {
    t_sim = &sim;
    sim.setBars(kOpen, kMinute, 60);
    sim.runDefaults(PlatformRecord::studyFunction());
    sim.input(in::kApiKey).setText("demo-key");
    sim.input(in::kTicker).setText("SPX");
    sim.input(in::kFuturesTarget).setText("");
  }

  const CallRecord& call(DateTime t, const std::string* answer = nullptr, bool full = false) {
    StudyHost& h = sim.host();
    h.CurrentTime = h.ClockTime = h.AltClockTime = t;
    h.IsFullRecalc = full ? 1 : 0;
    h.CurrentBarIndex = h.BarCount - 1;
    CallScript script;
    if (answer != nullptr) {
      script.response_ready = true;
      script.response_text = *answer;
    }
    return sim.runCall(PlatformRecord::studyFunction(), script);
  }

  // Full recalculation, history answer, then `profiles` profile answers at the interval.
  void drawProfiles(int profiles) {
    const std::string history =
        "[{\"timestamp\": 1776173400, \"major_call_gamma\": 5510, \"major_put_gamma\": 5450, "
        "\"zero_gamma\": 5480.5}]";
    const std::string profile =
        readFileBytes(std::string(OSTREL_SOURCE_DIR) + "/tests/golden/spx-gex-small.json");
    call(kLater, nullptr, true);
    call(kLater + kMicrosPerSecond, &history);
    for (int i = 0; i < profiles; ++i) {
      call(kLater + (2 + 10 * i) * kMicrosPerSecond, &profile);
      call(kLater + (10 + 10 * i) * kMicrosPerSecond);  // the next request goes out
    }
  }

  std::size_t studyDrawings() const {
    std::size_t n = 0;
    for (const auto& entry : sim.drawings()) n += entry.second.study_own ? 1 : 0;
    return n;
  }

  SimHost sim;
  PlatformRecord platform;
};

TEST(PlatformUserDrawn, CopiedDrawingsDoNotPileUpPassAfterPass) {
  Chart chart;
  chart.platform.record().DeleteACSChartDrawing = &deleteSparingUserDrawn;
  chart.sim.input(in::kAllowCopy).setYesNo(true);
  chart.drawProfiles(1);
  const std::size_t after_one = chart.studyDrawings();
  ASSERT_GT(after_one, 0u);
  for (const auto& entry : chart.sim.drawings()) EXPECT_EQ(entry.second.spec.CopySettingA, 1);
  chart.drawProfiles(3);
  EXPECT_EQ(chart.studyDrawings(), after_one);

  chart.sim.host().IsSuspended = 1;
  chart.call(kLater + 60 * kMicrosPerSecond);
  chart.sim.host().IsSuspended = 0;
  EXPECT_EQ(chart.studyDrawings(), 0u) << "hiding the study removes its user-drawn drawings too";
}

TEST(PlatformUserDrawn, ATradersOwnDrawingsAreNeverTouched) {
  Chart chart;
  chart.platform.record().DeleteACSChartDrawing = &deleteSparingUserDrawn;
  chart.sim.input(in::kAllowCopy).setYesNo(true);
  DrawingSpec own;
  own.DrawingType = kDrawingRectangle;  // the type of a strike bar
  own.CopySettingA = 1;
  const std::int32_t number = chart.sim.addDrawing(own, /*study_own=*/false);
  chart.drawProfiles(2);  // includes a full recalculation, whose sweep removes rectangles
  chart.sim.host().IsSuspended = 1;
  chart.call(kLater + 60 * kMicrosPerSecond);
  EXPECT_EQ(chart.sim.drawings().count(number), 1u);
}

// The sweep of a full recalculation after the study placed user-drawn drawings of its own: it
// removes the study's bars and dots, never the trader's rectangle among them.
TEST(PlatformUserDrawn, TheSweepAfterCopiedDrawingsSparesATradersOwn) {
  for (const bool sparing_platform : {false, true}) {
    Chart chart;
    if (sparing_platform) chart.platform.record().DeleteACSChartDrawing = &deleteSparingUserDrawn;
    chart.sim.input(in::kAllowCopy).setYesNo(true);
    chart.drawProfiles(1);
    ASSERT_GT(chart.studyDrawings(), 0u);
    DrawingSpec own;
    own.DrawingType = kDrawingRectangle;  // the type of a strike bar
    own.CopySettingA = 1;
    const std::int32_t number = chart.sim.addDrawing(own, /*study_own=*/false);
    const CallRecord& sweep = chart.call(kLater + 40 * kMicrosPerSecond, nullptr, true);
    EXPECT_EQ(chart.sim.drawings().count(number), 1u) << "sparing " << sparing_platform;
    std::size_t bars_left = 0;
    for (const auto& entry : chart.sim.drawings()) {
      const std::int32_t type = entry.second.spec.DrawingType;
      if (entry.second.study_own && (type == kDrawingRectangle || type == kDrawingMarker)) {
        ++bars_left;
      }
    }
    EXPECT_EQ(bars_left, 0u) << "sparing " << sparing_platform;
    EXPECT_FALSE(sweep.removed.empty() && sweep.removed_all == 0) << "sparing " << sparing_platform;
  }
}

TEST(PlatformRecordFaults, TooFewInputsOrSubgraphsAreRefusedWithOneLine) {
  struct Case {
    int inputs;
    int subgraphs;
  };
  for (const Case c : {Case{109, 60}, Case{128, 18}, Case{0, 0}}) {
    Chart chart;
    s_sc& sc = chart.platform.record();
    // Point the record at the first `inputs` slots only (the storage stays the record's).
    sc.Input.InternalSetArray(c.inputs > 0 ? &sc.Input[0] : nullptr, c.inputs);
    sc.Subgraph.InternalSetArray(c.subgraphs > 0 ? &sc.Subgraph[0] : nullptr, c.subgraphs);
    const CallRecord& first = chart.call(kLater, nullptr, true);
    ASSERT_EQ(first.log.size(), 1u) << c.inputs << " " << c.subgraphs;
    EXPECT_EQ(first.log[0].flag, 1);
    EXPECT_TRUE(first.requests.empty());
    EXPECT_TRUE(chart.call(kLater + kMicrosPerSecond).log.empty()) << "logged once";
  }
}

TEST(PlatformRecordFaults, ShortSubgraphArraysAndMissingOperationsStayInside) {
  Chart chart;
  // Subgraph arrays of one element on a 60-bar chart: every write lands in that element (the
  // sanitizer build catches any write beyond it).
  for (std::int32_t i = 0; i < 19; ++i) {
    chart.sim.subgraph(i).value_count = 1;
    chart.sim.subgraph(i).colour_count = 1;
  }
  chart.drawProfiles(1);
  EXPECT_NE(chart.sim.subgraph(0).value(0), 0.0f);

  s_sc& sc = chart.platform.record();
  sc.Internal_UseDrawingTool = nullptr;
  sc.DeleteACSChartDrawing = nullptr;
  sc.DeleteUserDrawnACSDrawing = nullptr;
  sc.GetUserDrawnChartDrawing = nullptr;
  sc.GetACSDrawingsCount = nullptr;
  sc.GetACSDrawingByIndex = nullptr;
  sc.GetContainingIndexForSCDateTime = nullptr;
  sc.MakeHTTPPOSTRequest = nullptr;
  sc.InternalConvertDateTimeFromChartTimeZone = nullptr;
  const CallRecord& rec = chart.call(kLater + 100 * kMicrosPerSecond, nullptr, true);
  EXPECT_TRUE(rec.placed.empty());
  EXPECT_TRUE(rec.requests.empty());
  bool refused = false;
  for (const LogEntry& line : rec.log) {
    refused = refused || line.text == "Ostrel: Error sending Majors history request.";
  }
  EXPECT_TRUE(refused);
}

SCString versionText() { return SCString(t_sim->host().StudyTitle.c_str()); }

TEST(PlatformRecordFaults, HostBuildIsTheFirstNumberOfTheVersionText) {
  struct Case {
    const char* text;
    const char* agent;
  };
  // Every digit counts, the first one too: a version beginning with 9 is read whole.
  const Case cases[] = {{"2911", "Sierra Chart 2911 (Hist)"},
                        {"9", "Sierra Chart 9 (Hist)"},
                        {"9021", "Sierra Chart 9021 (Hist)"},
                        {"v0918 build 3", "Sierra Chart 918 (Hist)"},
                        {"2999", "Sierra Chart 2999 (Hist)"},
                        {"Version 2750.1", "Sierra Chart 2750 (Hist)"},
                        {"no number", "Sierra Chart 2911 (Hist)"},
                        {"", "Sierra Chart 2911 (Hist)"},
                        {"12345678901234", "Sierra Chart 123456789 (Hist)"}};
  for (const Case& c : cases) {
    Chart chart;
    chart.platform.record().VersionNumber = &versionText;
    chart.sim.host().StudyTitle.assign(c.text);  // versionText reads it from there
    const CallRecord& rec = chart.call(kLater, nullptr, true);
    ASSERT_EQ(rec.requests.size(), 1u) << c.text;
    bool found = false;
    for (const auto& header : rec.requests[0].headers) {
      if (header.first == "User-Agent") {
        EXPECT_EQ(header.second, c.agent) << c.text;
        found = true;
      }
    }
    EXPECT_TRUE(found) << c.text;
  }
}

}  // namespace
}  // namespace ostrel::sim

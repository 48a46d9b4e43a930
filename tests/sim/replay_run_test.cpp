#include "sim/replay_run.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <string>

#include "sim/allocation_faults.h"

namespace ostrel::sim {
namespace {

int g_removal_calls = 0;

// A stand-in study: declares three inputs, reports the host fields of each update call in the
// log and leaves a trace of every kind of effect.
void fakeStudy(StudyHost& h) {
  if (h.IsDefaultsCall != 0) {
    h.StudyTitle = "Fake";
    h.Inputs[1].setText("key");
    h.Inputs[3].setFloat(0.0f);
    h.Inputs[7].setCustomList(2);
    h.Inputs[7].setOptions("A;B;C");
    return;
  }
  if (h.IsRemovalCall != 0) ++g_removal_calls;
  char line[256];
  std::snprintf(line, sizeof line, "t=%lld c=%lld a=%lld u=%d f=%d r=%d s=%d n=%d b=%d rf=%d",
                static_cast<long long>(h.CurrentTime), static_cast<long long>(h.ClockTime),
                static_cast<long long>(h.AltClockTime), h.UseAltClock, h.IsFullRecalc,
                h.IsRemovalCall, h.IsSuspended, h.BarCount, h.CurrentBarIndex, h.RecalcFromBar);
  h.Ops.LogMessage(&h, line, 0);
  h.Inputs[4].setFloat(1.5f);
  h.RecalcFromBar = 0;
  static int record = 0;
  h.Ops.SetStoredPointer(&h, 0, h.IsRemovalCall != 0 ? nullptr : &record);
}

StudyEntry fakeEntry() {
  StudyEntry entry;
  entry.function = &fakeStudy;
  return entry;
}

TEST(ReplayRun, CallFieldsFollowTheirDefaults) {
  const Scenario s = parseScenario(R"({
    "chart": {"bar_start": "1899-12-30 00:00:01", "bar_seconds": 1, "bar_count": 10},
    "inputs": {"7": 1, "3": 2.5},
    "calls": [
      {"recalc_from_bar": 4},
      {"time": "1899-12-30 00:00:05", "alt_clock": "1899-12-30 00:00:09", "use_alt_clock": true,
       "full_recalc": true, "bar_count": 12, "stale_drawings": [12]},
      {"clock": "1899-12-30 00:00:02", "current_bar": 3, "suspended": true, "recalc_from_bar": 6},
      {"removal": true}
    ]})",
                                   "");
  g_removal_calls = 0;
  const std::string trace = runScenario(s, fakeEntry());
  rapidjson::Document doc;
  doc.Parse(trace.c_str());
  ASSERT_FALSE(doc.HasParseError()) << trace;
  const auto& calls = doc["calls"];
  ASSERT_EQ(calls.Size(), 5u);
  const char* expected_logs[] = {
      "t=1000000 c=1000000 a=1000000 u=0 f=0 r=0 s=0 n=10 b=9 rf=4",
      "t=5000000 c=5000000 a=9000000 u=1 f=1 r=0 s=0 n=12 b=11 rf=0",
      "t=5000000 c=2000000 a=5000000 u=0 f=0 r=0 s=1 n=12 b=3 rf=6",
      "t=5000000 c=5000000 a=5000000 u=0 f=0 r=1 s=0 n=12 b=11 rf=0",
  };
  const char* kinds[] = {"defaults", "update", "update", "suspended", "removal"};
  for (rapidjson::SizeType i = 0; i < calls.Size(); ++i) {
    EXPECT_STREQ(calls[i]["kind"].GetString(), kinds[i]);
    EXPECT_EQ(calls[i]["index"].GetInt(), static_cast<int>(i));
    if (i == 0) continue;
    EXPECT_STREQ(calls[i]["log"][0]["text"].GetString(), expected_logs[i - 1]);
  }
  // The premium write shows in the first update call only (later calls write the same value).
  ASSERT_EQ(calls[1]["input_writes"].Size(), 1u);
  EXPECT_EQ(calls[1]["input_writes"][0]["index"].GetInt(), 4);
  EXPECT_EQ(calls[1]["input_writes"][0]["value"].GetDouble(), 1.5);
  EXPECT_EQ(calls[2]["input_writes"].Size(), 0u);
  EXPECT_EQ(calls[0]["input_writes"].Size(), 0u);
  EXPECT_TRUE(calls[1]["host"]["EarliestChangedBar"].IsNull());

  const auto& final_state = doc["final"];
  EXPECT_STREQ(final_state["study"]["title"].GetString(), "Fake");
  ASSERT_EQ(final_state["inputs"].Size(), 110u);
  EXPECT_EQ(final_state["inputs"][7]["value"].GetInt(), 1);
  EXPECT_STREQ(final_state["inputs"][7]["options"].GetString(), "A;B;C");
  EXPECT_EQ(final_state["inputs"][3]["value"].GetDouble(), 2.5);
  EXPECT_TRUE(final_state["inputs"][0]["value"].IsNull());
  EXPECT_STREQ(final_state["inputs"][0]["type"].GetString(), "none");
  ASSERT_EQ(final_state["subgraphs"].Size(), 19u);
  ASSERT_EQ(final_state["drawings"].Size(), 1u);
  EXPECT_EQ(final_state["drawings"][0]["DrawingType"].GetInt(), 12);
  EXPECT_FALSE(final_state["stored"]["pointer"]["0"].GetBool());
  EXPECT_EQ(g_removal_calls, 1);  // the scenario's own; the pointer was cleared by then
}

TEST(ReplayRun, AStudyStillHoldingPointersGetsAClosingRemovalCall) {
  const Scenario s = parseScenario(R"({"calls": [{}]})", "");
  g_removal_calls = 0;
  const std::string trace = runScenario(s, fakeEntry());
  EXPECT_NE(trace.find("\"pointer\": {\"0\": true}"), std::string::npos);
  EXPECT_EQ(g_removal_calls, 1);
}

TEST(ReplayRun, BareNumbersNeedADeclaredNonTextSlot) {
  struct Case {
    const char* json;
    const char* message;
  };
  const Case cases[] = {
      {R"({"inputs": {"20": 1}})",
       "inputs.20: slot has no declared type; write {\"type\": T, \"value\": V}"},
      {R"({"inputs": {"1": 1}})", "inputs.1: slot is a text; write a string"},
      {R"({"calls": [{"inputs": {"7": 0.5}}]})",
       "calls[0].inputs.7: value does not fit the slot's type list"},
  };
  for (const Case& c : cases) {
    try {
      runScenario(parseScenario(c.json, ""), fakeEntry());
      ADD_FAILURE() << "accepted: " << c.json;
    } catch (const ScenarioError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// One allocation in every call but the defaults call; the record pointer set by updates and
// cleared by the removal, so the replay makes one release call after the trace.
void allocatingStudy(StudyHost& h) {
  if (h.IsDefaultsCall != 0) return;
  try {
    int* volatile block = new int(1);
    delete block;
  } catch (const std::bad_alloc&) {
    h.Ops.LogMessage(&h, "out of memory", 1);
  }
  static int record = 0;
  h.Ops.SetStoredPointer(&h, 0, h.IsRemovalCall != 0 ? nullptr : &record);
}

TEST(ReplayRun, AllocationCountAndTheCallThatRanOut) {
  if (!allocationHooksInstalled()) GTEST_SKIP() << "no allocation hooks in this build";
  const Scenario s = parseScenario(R"({"calls": [{}, {}]})", "");
  StudyEntry entry;
  entry.function = &allocatingStudy;
  rapidjson::Document plain;
  plain.Parse(runScenario(s, entry).c_str());
  EXPECT_FALSE(plain.HasMember("allocations")) << "without the option the trace is unchanged";
  struct Case {
    std::uint64_t n;
    int call;  // -1: null
  };
  // Calls 1 and 2 are traced; the release call after the trace counts as call 3.
  const Case cases[] = {{1, 1}, {2, 2}, {3, 3}, {4, -1}};
  for (const Case& c : cases) {
    ReplayOptions options;
    options.count_allocations = true;
    options.fail_allocation = c.n;
    rapidjson::Document doc;
    doc.Parse(runScenario(s, entry, options).c_str());
    ASSERT_FALSE(doc.HasParseError());
    EXPECT_EQ(doc["allocations"].GetUint64(), 3u) << "N " << c.n;
    if (c.call < 0) {
      EXPECT_TRUE(doc["failed_allocation"].IsNull()) << "N " << c.n;
    } else {
      EXPECT_EQ(doc["failed_allocation"]["call"].GetInt(), c.call) << "N " << c.n;
    }
    if (c.call == 1 || c.call == 2) {
      EXPECT_STREQ(doc["calls"][c.call]["log"][0]["text"].GetString(), "out of memory");
    }
  }
}

}  // namespace
}  // namespace ostrel::sim

#include "sim/sim_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "sim/replay_datetime.h"

namespace ostrel::sim {
namespace {

// Runs an arbitrary body as the study of one call.
std::function<void(StudyHost&)>& body() {
  static std::function<void(StudyHost&)> f;
  return f;
}
void trampoline(StudyHost& h) { body()(h); }

const CallRecord& run(SimHost& sim, std::function<void(StudyHost&)> f,
                      const CallScript& script = CallScript()) {
  body() = std::move(f);
  return sim.runCall(&trampoline, script);
}

std::int32_t place(StudyHost& h, std::int32_t number, std::int32_t type = kDrawingRectangle,
                   float value = 0.0f) {
  DrawingSpec spec;
  spec.DrawingNumber = number;
  spec.DrawingType = type;
  spec.BeginValue = value;
  h.Ops.PlaceDrawing(&h, &spec);
  return spec.DrawingNumber;
}

std::int32_t findFirst(StudyHost& h, std::int32_t filter = 0, std::int32_t index = 0) {
  DrawingSpec spec;
  return h.Ops.FindDrawing(&h, h.ChartId, filter, &spec, index) > 0 ? spec.DrawingNumber : 0;
}

TEST(SimHostDrawings, NumbersRunUpwardAndAreNeverReused) {
  SimHost sim;
  std::vector<std::int32_t> numbers;
  run(sim, [&](StudyHost& h) {
    numbers.push_back(place(h, -1));
    numbers.push_back(place(h, -1));
    numbers.push_back(place(h, -1));
    h.Ops.RemoveDrawing(&h, h.ChartId, 2);
    numbers.push_back(place(h, -1));
    numbers.push_back(place(h, 3, kDrawingMarker, 42.0f));  // adjusts drawing 3
    numbers.push_back(place(h, 2));                         // removed: a new drawing
    numbers.push_back(place(h, 99));                        // unknown: a new drawing
    numbers.push_back(place(h, 0));
  });
  EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2, 3, 4, 3, 5, 6, 7}));
  ASSERT_EQ(sim.drawings().size(), 6u);  // 1, 3, 4, 5, 6, 7
  EXPECT_EQ(sim.drawings().at(3).spec.DrawingType, kDrawingMarker);
  EXPECT_EQ(sim.drawings().at(3).spec.BeginValue, 42.0f);
  EXPECT_EQ(sim.lastCall().placed.size(), 8u);
  EXPECT_EQ(sim.lastCall().placed[4].spec.DrawingNumber, 3);  // as the study asked
  EXPECT_EQ(sim.lastCall().removed, (std::vector<std::int32_t>{2}));
}

TEST(SimHostDrawings, FindAnswersTheLowestOwnDrawingAndHonoursFilterAndIndex) {
  SimHost sim;
  DrawingSpec foreign;
  foreign.DrawingType = kDrawingRectangle;
  sim.addDrawing(foreign, /*study_own=*/false);  // 1
  sim.addStaleDrawing(kDrawingHorizontalLine);   // 2
  sim.addStaleDrawing(kDrawingRectangle);        // 3
  sim.addStaleDrawing(kDrawingMarker);           // 4
  struct Case {
    std::int32_t filter, index, expected;
  };
  const Case cases[] = {{0, 0, 2},
                        {0, 1, 3},
                        {0, 2, 4},
                        {0, 3, 0},
                        {0, -1, 0},
                        {kDrawingRectangle, 0, 3},
                        {kDrawingMarker, 0, 4},
                        {kDrawingMarker, 1, 0},
                        {7, 0, 0}};
  run(sim, [&](StudyHost& h) {
    for (const Case& c : cases) {
      EXPECT_EQ(findFirst(h, c.filter, c.index), c.expected) << c.filter << "/" << c.index;
    }
    DrawingSpec spec;
    ASSERT_EQ(h.Ops.FindDrawing(&h, h.ChartId, 0, &spec, 0), 1);
    EXPECT_EQ(spec.DrawingType, kDrawingHorizontalLine);
    EXPECT_EQ(h.Ops.RemoveStudyDrawings(&h, h.ChartId, -1, 0), 3);
    EXPECT_EQ(findFirst(h), 0);
  });
  ASSERT_EQ(sim.drawings().size(), 1u);  // the user's drawing stays
  EXPECT_EQ(sim.lastCall().removed_all, 1);
}

TEST(SimHostDrawings, FindAndRemoveLoopEmptiesTheChart) {
  SimHost sim;
  for (int i = 0; i < 5; ++i) sim.addStaleDrawing(kDrawingMarker);
  int rounds = 0;
  run(sim, [&](StudyHost& h) {
    for (std::int32_t n = findFirst(h); n > 0 && rounds < 100; n = findFirst(h), ++rounds) {
      EXPECT_EQ(h.Ops.RemoveDrawing(&h, h.ChartId, n), 1);
    }
    EXPECT_EQ(h.Ops.RemoveDrawing(&h, h.ChartId, 3), 0);  // already gone
  });
  EXPECT_EQ(rounds, 5);
  EXPECT_TRUE(sim.drawings().empty());
}

TEST(SimHostFaults, StickyFindKeepsAnsweringARemovedDrawingForOneCall) {
  SimHost sim;
  sim.addStaleDrawing(kDrawingRectangle);
  sim.addStaleDrawing(kDrawingMarker);
  CallScript sticky;
  sticky.find_drawing_sticky = true;
  run(
      sim,
      [](StudyHost& h) {
        for (int i = 0; i < 3; ++i) {
          DrawingSpec spec;
          ASSERT_EQ(h.Ops.FindDrawing(&h, h.ChartId, 0, &spec, 0), 1);
          EXPECT_EQ(spec.DrawingNumber, 1);
          EXPECT_EQ(spec.DrawingType, kDrawingRectangle);
          h.Ops.RemoveDrawing(&h, h.ChartId, spec.DrawingNumber);
        }
      },
      sticky);
  run(sim, [](StudyHost& h) { EXPECT_EQ(findFirst(h), 2); });
}

TEST(SimHostFaults, PlaceDrawingFailsAtTheScriptedOrdinalsOnly) {
  SimHost sim;
  CallScript script;
  script.place_fail_ordinals = {2, 4};
  std::vector<std::int32_t> numbers;
  run(
      sim,
      [&](StudyHost& h) {
        for (int i = 0; i < 4; ++i) numbers.push_back(place(h, -1));
        DrawingSpec spec;
        EXPECT_EQ(h.Ops.PlaceDrawing(&h, &spec), 1);
      },
      script);
  EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 0, 2, 0}));
  EXPECT_EQ(sim.lastCall().placed[1].number, 0);
  EXPECT_EQ(sim.drawings().size(), 3u);

  CallScript all;
  all.place_all_fail = true;
  run(
      sim, [](StudyHost& h) { EXPECT_EQ(place(h, 1), 0); }, all);
  EXPECT_EQ(sim.drawings().at(1).spec.DrawingType, kDrawingRectangle);  // not adjusted
  run(sim, [](StudyHost& h) { EXPECT_EQ(place(h, -1), 4); });           // faults last one call
}

TEST(SimHostRequests, StartHttpRequestIsRecordedAndMayBeRefused) {
  SimHost sim;
  HttpHeaderField headers[2];
  headers[0].Name = "User-Agent";
  headers[0].Value = "Sierra Chart 2911";
  headers[1].Name = "Accept";
  headers[1].Value = "application/json";
  CallScript refuse;
  refuse.start_request_fails = true;
  run(
      sim,
      [&](StudyHost& h) {
        EXPECT_EQ(h.Ops.StartHttpRequest(&h, "https://x/a", nullptr, headers, 2), 0);
      },
      refuse);
  ASSERT_EQ(sim.lastCall().requests.size(), 1u);
  const RequestRecord& r = sim.lastCall().requests[0];
  EXPECT_EQ(r.url, "https://x/a");
  EXPECT_FALSE(r.body.has_value());
  EXPECT_FALSE(r.started);
  ASSERT_EQ(r.headers.size(), 2u);
  EXPECT_EQ(r.headers[1].first, "Accept");
  EXPECT_EQ(r.headers[1].second, "application/json");
  run(sim, [&](StudyHost& h) { EXPECT_EQ(h.Ops.StartHttpRequest(&h, "u", "{}", nullptr, 0), 1); });
  EXPECT_EQ(*sim.lastCall().requests[0].body, "{}");
  EXPECT_TRUE(sim.lastCall().requests[0].started);
}

TEST(SimHostRequests, AnswerChannelHoldsOnlyForTheScriptedCall) {
  SimHost sim;
  CallScript text;
  text.response_ready = true;
  text.response_text = "EMPTY_RESPONSE";
  run(
      sim,
      [](StudyHost& h) {
        EXPECT_EQ(h.ResponseReady, 1);
        EXPECT_STREQ(h.ResponseText, "EMPTY_RESPONSE");
      },
      text);
  CallScript null_text;
  null_text.response_ready = true;
  run(
      sim,
      [](StudyHost& h) {
        EXPECT_EQ(h.ResponseReady, 1);
        EXPECT_EQ(h.ResponseText, nullptr);
      },
      null_text);
  run(sim, [](StudyHost& h) { EXPECT_EQ(h.ResponseReady, 0); });
  EXPECT_EQ(sim.host().ResponseText, nullptr);
}

TEST(SimHostRequests, DirectHttpsGetAnswersFromTheScript) {
  SimHost sim;
  DirectHttpsRequest request{"api.example", 443, "/v2/futures/conversion?ticker=spx",
                             "Authorization: Bearer k\r\n", "agent"};
  const auto get = [&](const CallScript& script) {
    DirectHttpsResult result;
    run(
        sim, [&](StudyHost& h) { h.Ops.DirectHttpsGet(&h, &request, &result); }, script);
    return result;
  };
  DirectHttpsResult none = get(CallScript());
  EXPECT_EQ(none.ok, 0);
  EXPECT_EQ(none.status, 0u);
  EXPECT_STREQ(none.error.c_str(), "no scripted answer");

  CallScript answered;
  answered.conversion = DirectAnswer{true, 404, "{\"error\": 1}", ""};
  DirectHttpsResult ok = get(answered);
  EXPECT_EQ(ok.ok, 1);
  EXPECT_EQ(ok.status, 404u);
  EXPECT_STREQ(ok.body.c_str(), "{\"error\": 1}");
  EXPECT_TRUE(ok.error.empty());

  CallScript failed;
  failed.conversion = DirectAnswer{false, 200, "ignored", "timed out"};
  DirectHttpsResult err = get(failed);
  EXPECT_EQ(err.ok, 0);
  EXPECT_EQ(err.status, 0u);
  EXPECT_TRUE(err.body.empty());
  EXPECT_STREQ(err.error.c_str(), "timed out");
  ASSERT_EQ(sim.lastCall().conversions.size(), 1u);
  EXPECT_EQ(sim.lastCall().conversions[0].path, request.path);
  EXPECT_EQ(sim.lastCall().conversions[0].header_block, request.header_block);
  EXPECT_EQ(sim.lastCall().conversions[0].user_agent, "agent");
}

TEST(SimHostStored, InstancesShareNothingAndReferencesStayValid) {
  SimHost a;
  SimHost b;
  int record = 0;
  run(a, [&](StudyHost& h) {
    std::int32_t* first = h.Ops.StoredInt(&h, 5);
    for (std::int32_t key = 0; key < 2000; ++key) *h.Ops.StoredInt(&h, key + 100) = key;
    *first = 77;  // still the slot of key 5
    h.Ops.SetStoredPointer(&h, 0, &record);
    h.Ops.StoredText(&h, 1)->assign("SPX");
    place(h, -1);
  });
  run(b, [&](StudyHost& h) {
    EXPECT_EQ(*h.Ops.StoredInt(&h, 5), 0);
    EXPECT_EQ(h.Ops.StoredPointer(&h, 0), nullptr);
    EXPECT_STREQ(h.Ops.StoredText(&h, 1)->c_str(), "");
    EXPECT_EQ(place(h, -1), 1);
  });
  run(a, [&](StudyHost& h) {
    EXPECT_EQ(*h.Ops.StoredInt(&h, 5), 77);
    EXPECT_EQ(h.Ops.StoredPointer(&h, 0), &record);
  });
}

TEST(SimHostStored, EverSetMarksSetterCallsAndNonZeroValues) {
  SimHost sim;
  run(sim, [](StudyHost& h) {
    h.Ops.SetStoredInt(&h, 1, 0);      // set, though to 0
    *h.Ops.StoredInt(&h, 2) = 0;       // looks like a read
    *h.Ops.StoredTime(&h, 3) = 12345;  // non-zero at the end of the call
    *h.Ops.StoredFloat(&h, 4) = 0.5f;
    h.Ops.StoredText(&h, 5);  // read only
    h.Ops.SetStoredPointer(&h, 6, nullptr);
  });
  run(sim, [](StudyHost& h) { *h.Ops.StoredTime(&h, 3) = 0; });
  EXPECT_EQ(sim.storedInts().ever_set, (std::set<std::int32_t>{1}));
  EXPECT_EQ(sim.storedTimes().ever_set, (std::set<std::int32_t>{3}));
  EXPECT_EQ(sim.storedTimes().values.at(3), 0);
  EXPECT_EQ(sim.storedFloats().ever_set, (std::set<std::int32_t>{4}));
  EXPECT_TRUE(sim.storedTexts().ever_set.empty());
  EXPECT_EQ(sim.storedPointers().ever_set, (std::set<std::int32_t>{6}));
}

TEST(SimHostChart, BarIndexAtFindsTheLastBarStartingAtOrBeforeTheTime) {
  SimHost sim;
  const DateTime start = dateTimeFromCivil(2026, 3, 10, 0);
  const DateTime minute = 60 * kMicrosPerSecond;
  StudyHost& h = sim.host();
  EXPECT_EQ(h.Ops.BarIndexAt(&h, 1, start), -1);  // no bars
  sim.setBars(start, minute, 10);
  struct Case {
    DateTime t;
    std::int32_t bar;
  };
  const Case cases[] = {{start - 1, -1},         {start, 0},
                        {start + minute - 1, 0}, {start + minute, 1},
                        {start + 9 * minute, 9}, {start + 500 * minute, 9},
                        {INT64_MIN, -1},         {INT64_MAX, 9}};
  for (const Case& c : cases) EXPECT_EQ(h.Ops.BarIndexAt(&h, 1, c.t), c.bar) << c.t;
}

TEST(SimHostChart, SubgraphArraysFollowTheBarCountAndKeepValues) {
  SimHost sim;
  sim.setBars(0, kMicrosPerSecond, 3);
  Subgraph& sg = sim.subgraph(59);
  sg.value(2) = 7.5f;
  sg.colour(2) = 255;
  sim.setBars(0, kMicrosPerSecond, 5);
  EXPECT_EQ(sg.value_count, 5);
  EXPECT_EQ(sg.colour_count, 5);
  EXPECT_EQ(sg.values[2], 7.5f);
  EXPECT_EQ(sg.colours[2], 255u);
  EXPECT_EQ(sg.values[4], 0.0f);
  sim.setBars(0, kMicrosPerSecond, 0);
  EXPECT_EQ(sg.values, nullptr);
  EXPECT_EQ(sim.host().BarCount, 0);
  EXPECT_EQ(sim.host().BarTimes, nullptr);
}

TEST(SimHostChart, ZoneConversionsGoThroughUtc) {
  SimHost sim;  // host zone: New York
  StudyHost& h = sim.host();
  // 2026-03-10 is in daylight time (EDT, UTC-4); 2026-01-10 is not.
  const DateTime summer = dateTimeFromCivil(2026, 3, 10, 9 * 3600 * kMicrosPerSecond);
  const DateTime winter = dateTimeFromCivil(2026, 1, 10, 9 * 3600 * kMicrosPerSecond);
  const DateTime hour = 3600 * kMicrosPerSecond;
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, summer, "UTC+00"), summer + 4 * hour);
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, winter, "UTC+00"), winter + 5 * hour);
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, summer, "CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00"),
            summer - hour);
  EXPECT_EQ(h.Ops.ZoneTimeToHost(&h, summer + 4 * hour, "UTC+00"), summer);
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, summer, ""), summer);
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, summer, nullptr), summer);
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, summer, "not a zone"), summer);
  ASSERT_TRUE(sim.setHostZone("UTC+00"));
  EXPECT_FALSE(sim.setHostZone("EST5EDT"));
  EXPECT_EQ(sim.hostZone(), "UTC+00");
  EXPECT_EQ(h.Ops.HostTimeToZone(&h, summer, "JST+09"), summer + 9 * hour);
}

TEST(SimHostCalls, ChangedInputsAndEarliestChangedBarAreDetected) {
  SimHost sim;
  sim.input(4).setFloat(0.0f);
  sim.input(9).setText("x");
  run(sim, [](StudyHost& h) {
    h.Inputs[4].setFloat(1.0f);
    h.Inputs[9].setText("x");  // same content: not a change
    h.Inputs[120].setInteger(3);
  });
  EXPECT_EQ(sim.lastCall().changed_inputs, (std::vector<std::int32_t>{4, 120}));
  EXPECT_FALSE(sim.earliestChangedBarSet());
  run(sim, [](StudyHost& h) { h.EarliestChangedBar = 37; });
  EXPECT_TRUE(sim.earliestChangedBarSet());
  EXPECT_EQ(sim.host().EarliestChangedBar, 37);
}

}  // namespace
}  // namespace ostrel::sim

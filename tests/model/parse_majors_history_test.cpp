#include "model/parse_majors_history.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/host_calls.h"
#include "model_test_support.h"
#include "sim/sim_host.h"

namespace ostrel {
namespace {

constexpr DateTime kMinute = 60 * sim::kMicrosPerSecond;
constexpr DateTime kUnixEpoch = 2209161600000000;
// 2026-03-10 09:30:00, host time (New York).
constexpr DateTime kFirstBar = 46091LL * 86400000000LL + (9 * 60 + 30) * kMinute;
constexpr std::int32_t kBars = 100;

class MajorsHistory : public ::testing::Test {
 protected:
  MajorsHistory() {
    sim_.setBars(kFirstBar, kMinute, kBars);
    for (std::int32_t k = 0; k < 3; ++k) {
      for (std::int32_t bar = 0; bar < kBars; ++bar) sim_.subgraph(k).value(bar) = kUntouched;
    }
  }

  // Unix seconds of a moment half a minute into `bar`.
  std::int64_t unixAt(std::int32_t bar) {
    const DateTime host_time = kFirstBar + bar * kMinute + 30 * sim::kMicrosPerSecond;
    const DateTime utc = host::hostTimeToZone(sim_.host(), host_time, "UTC+00");
    return (utc - kUnixEpoch) / sim::kMicrosPerSecond;
  }
  std::string point(std::int32_t bar, const std::string& members = "") {
    return "{\"timestamp\":" + std::to_string(unixAt(bar)) + (members.empty() ? "" : ",") +
           members + "}";
  }
  std::int32_t run(const std::string& text, float additive = 0.0f, float multiplier = 1.0f) {
    const char* pointer = text.c_str();
    return parseMajorsHistory(sim_.host(), &pointer, additive, multiplier);
  }
  float value(std::int32_t subgraph, std::int32_t bar) {
    return sim_.subgraph(subgraph).value(bar);
  }
  std::int32_t earliest() const { return sim_.host().EarliestChangedBar; }
  // Bars whose value changed, over the three subgraphs.
  int changedValues() {
    int changed = 0;
    for (std::int32_t k = 0; k < 3; ++k) {
      for (std::int32_t bar = 0; bar < kBars; ++bar) changed += value(k, bar) != kUntouched;
    }
    return changed;
  }

  static constexpr float kUntouched = -7.0f;
  sim::SimHost sim_;
};

TEST_F(MajorsHistory, PointWritesConvertedValueAtItsBar) {
  EXPECT_EQ(run("[" + point(37, R"("major_call_gamma":100)") + "]", 5.0f, 1.5f), 0);
  EXPECT_EQ(value(0, 37), 155.0f);
  EXPECT_EQ(earliest(), 37);
  EXPECT_EQ(changedValues(), 1);
  EXPECT_TRUE(test::logOf(sim_).empty());
}

TEST_F(MajorsHistory, EachLevelGoesToItsSubgraph) {
  run("[" + point(10, R"("major_call_gamma":1,"major_put_gamma":2,"zero_gamma":3)") + "," +
      point(20, R"("zero_gamma":4)") + "]");
  EXPECT_EQ(value(0, 10), 1.0f);
  EXPECT_EQ(value(1, 10), 2.0f);
  EXPECT_EQ(value(2, 10), 3.0f);
  EXPECT_EQ(value(2, 20), 4.0f);
  EXPECT_EQ(value(0, 20), kUntouched);
  EXPECT_EQ(value(1, 20), kUntouched);
  EXPECT_EQ(earliest(), 10);
}

TEST_F(MajorsHistory, ConversionIsDoneInSinglePrecision) {
  // 16777217 is stored as the float 16777216; adding 1 in float leaves it there (ties to even),
  // where double arithmetic or a fused multiply-add would give 16777218.
  run("[" + point(5, R"("zero_gamma":16777217)") + "]", 1.0f, 1.0f);
  EXPECT_EQ(value(2, 5), 16777216.0f);
  run("[" + point(6, R"("zero_gamma":3.5e38)") + "]", 0.0f, 1.0f);
  EXPECT_EQ(value(2, 6), std::numeric_limits<float>::infinity());
  // The multiplication too: 16777216 x 3 is exact in float, where 16777217 x 3 in double
  // narrows to 50331652.
  run("[" + point(7, R"("zero_gamma":16777217)") + "]", 0.0f, 3.0f);
  EXPECT_EQ(value(2, 7), 50331648.0f);
}

TEST_F(MajorsHistory, LaterPointInTheSameBarOverwritesOnlyItsKeys) {
  run("[" + point(3, R"("major_call_gamma":1,"zero_gamma":2)") + "," +
      point(3, R"("zero_gamma":5)") + "]");
  EXPECT_EQ(value(0, 3), 1.0f);
  EXPECT_EQ(value(2, 3), 5.0f);
}

TEST_F(MajorsHistory, PointWithoutLevelsStillMarksItsBar) {
  run("[" + point(50, R"("major_call_gamma":null,"zero_gamma":"5")") + "," + point(60) + "]");
  EXPECT_EQ(changedValues(), 0);
  EXPECT_EQ(earliest(), 50);
}

TEST_F(MajorsHistory, PointsThatCannotBePlacedAreSkipped) {
  const std::string after = point(kBars - 1);  // the last bar holds any later time too
  const std::vector<std::string> skipped = {
      R"({"timestamp":1.5,"zero_gamma":1})",
      R"({"timestamp":"1773149400","zero_gamma":1})",
      R"({"timestamp":18446744073709551615,"zero_gamma":1})",
      R"({"timestamp":9223372036854775807,"zero_gamma":1})",
      R"({"timestamp":-9223372036854775808,"zero_gamma":1})",
      R"({"timestamp":0,"zero_gamma":1})",
      R"({"timestamp":1000,"zero_gamma":1})",
      R"({"zero_gamma":1})",
      "{}",
      "1",
      "null",
      R"("x")",
      "[" + point(1) + "]",
  };
  for (const std::string& element : skipped) {
    SCOPED_TRACE(element);
    sim_.host().EarliestChangedBar = -1;
    EXPECT_EQ(run("[" + element + "]"), 0);
    EXPECT_EQ(changedValues(), 0);
    EXPECT_EQ(earliest(), -1);
  }
  EXPECT_EQ(run("[" + point(40) + ",7," + point(45, R"("zero_gamma":2)") + "]"), 0);
  EXPECT_EQ(earliest(), 40);
}

TEST_F(MajorsHistory, EmptyArrayChangesNothing) {
  EXPECT_EQ(run("[]"), 0);
  EXPECT_EQ(earliest(), -1);
  EXPECT_EQ(changedValues(), 0);
}

struct RootCase {
  const char* text;
  std::int32_t result;
  const char* log;  // null: nothing logged
  int flag;
};

TEST_F(MajorsHistory, ObjectAndOtherRoots) {
  const RootCase cases[] = {
      {"", 2, "Ostrel History: JSON parse error. Skipping.", 0},
      {"[1,]", 2, "Ostrel History: JSON parse error. Skipping.", 0},
      {R"({"message":"Busy","error":"Down"})", 2, "Ostrel History: API message: Busy. Skipping.",
       1},
      {R"({"message":5,"error":"Down"})", 2, "Ostrel History: API error: Down. Skipping.", 1},
      {R"({"error":"%s%n"})", 2, "Ostrel History: API error: %s%n. Skipping.", 1},
      {R"({"timestamp":"x","message":"Busy","error":"Down"})", 0, nullptr, 0},
      {R"({"timestamp":1773149400,"zero_gamma":5})", 0, nullptr, 0},
      {R"({"other":1})", 2, nullptr, 0},
      {"{}", 2, nullptr, 0},
      {"null", 2, nullptr, 0},
      {"5", 2, nullptr, 0},
      {R"("text")", 2, nullptr, 0},
      {"true", 2, nullptr, 0},
  };
  for (const RootCase& c : cases) {
    SCOPED_TRACE(c.text);
    sim::SimHost sim;
    const char* text = c.text;
    EXPECT_EQ(parseMajorsHistory(sim.host(), &text, 0.0f, 1.0f), c.result);
    test::expectLog(test::logOf(sim), c.log, c.flag);
    EXPECT_EQ(sim.host().EarliestChangedBar, -1);
  }
}

TEST_F(MajorsHistory, NullTextIsAParseError) {
  EXPECT_EQ(parseMajorsHistory(sim_.host(), nullptr, 0.0f, 1.0f), 2);
  const char* text = nullptr;
  EXPECT_EQ(parseMajorsHistory(sim_.host(), &text, 0.0f, 1.0f), 2);
  const auto log = test::logOf(sim_);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].text, "Ostrel History: JSON parse error. Skipping.");
  EXPECT_EQ(log[1].flag, 0);
}

// What the parser hands the host: the zone name, and the Unix conversion (0 stays 0).
struct TimeRecorder {
  StudyHost host;
  std::vector<DateTime> times;
  std::vector<std::string> zones;
  float values[3] = {0, 0, 0};
  Subgraph subgraphs[3];
};

TEST(MajorsHistoryHost, ConvertsUnixSecondsAndAsksInUtc) {
  TimeRecorder rec;
  rec.host.HostContext = &rec;
  rec.host.BarCount = 1;
  for (int k = 0; k < 3; ++k) {
    rec.subgraphs[k].values = &rec.values[k];
    rec.subgraphs[k].value_count = 1;
  }
  rec.host.Subgraphs = rec.subgraphs;
  rec.host.SubgraphCount = 3;
  rec.host.Ops.ZoneTimeToHost = [](StudyHost* h, DateTime t, const char* zone) {
    auto* self = static_cast<TimeRecorder*>(h->HostContext);
    self->times.push_back(t);
    self->zones.emplace_back(zone);
    return t;
  };
  rec.host.Ops.BarIndexAt = [](StudyHost*, std::int32_t, DateTime) { return 0; };
  const char* text =
      R"([{"timestamp":1,"zero_gamma":2},{"timestamp":0},{"timestamp":-1},
          {"timestamp":9221162875254,"zero_gamma":3},{"timestamp":9221162875255}])";
  EXPECT_EQ(parseMajorsHistory(rec.host, &text, 0.0f, 1.0f), 0);
  EXPECT_EQ(rec.times, (std::vector<DateTime>{kUnixEpoch + 1000000, 0, kUnixEpoch - 1000000,
                                              9221162875254LL * 1000000 + kUnixEpoch}));
  EXPECT_EQ(rec.zones, std::vector<std::string>(4, "UTC+00"));
  EXPECT_EQ(rec.values[2], 3.0f);
  EXPECT_EQ(rec.host.EarliestChangedBar, 0);
}

TEST(MajorsHistoryHost, IndexAtOrPastBarCountIsSkipped) {
  StudyHost host;
  host.BarCount = 10;
  host.Ops.BarIndexAt = [](StudyHost*, std::int32_t, DateTime) { return 10; };
  const char* text = R"([{"timestamp":1,"zero_gamma":2}])";
  EXPECT_EQ(parseMajorsHistory(host, &text, 0.0f, 1.0f), 0);
  EXPECT_EQ(host.EarliestChangedBar, -1);
}

}  // namespace
}  // namespace ostrel

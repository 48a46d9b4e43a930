#include "sim/replay_scenario.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sim/replay_command.h"
#include "sim/replay_datetime.h"

namespace ostrel::sim {
namespace {

std::string errorOf(const std::string& json, const std::string& base = "/nowhere") {
  try {
    parseScenario(json, base);
  } catch (const ScenarioError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(ReplayScenarioErrors, EachMalformedScenarioNamesItsProblem) {
  struct Case {
    const char* json;
    const char* message;
  };
  const Case cases[] = {
      {"[]", "scenario: expected an object"},
      {R"({"bogus": 1})", "scenario: unknown field 'bogus'"},
      {R"({"calls": [], "calls": []})", "scenario: field 'calls' given twice"},
      {R"({"chart": 3})", "chart: expected an object"},
      {R"({"chart": {"bar_count": -1}})", "chart.bar_count: expected an integer from 0 to 100000"},
      {R"({"chart": {"bar_count": 100001}})",
       "chart.bar_count: expected an integer from 0 to 100000"},
      {R"({"chart": {"bar_seconds": 0}})",
       "chart.bar_seconds: expected an integer from 1 to 31622400"},
      {R"({"chart": {"bar_start": "2026-02-29 09:30:00"}})",
       "chart.bar_start: expected a date-time \"YYYY-MM-DD HH:MM:SS[.ffffff]\""},
      {R"({"chart": {"host_zone": "EST5EDT"}})",
       "chart.host_zone: not a zone string such as \"EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00\""},
      {R"({"chart": {"tick": "0.25"}})", "chart.tick: expected a number"},
      {R"({"calls": {}})", "calls: expected a list of calls"},
      {R"({"calls": [7]})", "calls[0]: expected an object"},
      {R"({"calls": [{}, {"tme": "2026-03-10 09:30:00"}]})", "calls[1]: unknown field 'tme'"},
      {R"({"calls": [{"time": "2026-03-10 9:30:00"}]})",
       "calls[0].time: expected a date-time \"YYYY-MM-DD HH:MM:SS[.ffffff]\""},
      {R"({"calls": [{"full_recalc": "yes"}]})",
       "calls[0].full_recalc: expected true, false, 0 or 1"},
      {R"({"calls": [{"current_bar": 1.5}]})",
       "calls[0].current_bar: expected an integer from -2147483648 to 2147483647"},
      {R"({"calls": [{"response": 5}]})", "calls[0].response: expected an object"},
      {R"({"calls": [{"response": {"path": "x"}}]})", "calls[0].response: unknown field 'path'"},
      {R"({"calls": [{"response": {"file": "missing.json"}}]})",
       "calls[0].response: cannot read /nowhere/missing.json"},
      {R"({"calls": [{"conversion": {"status": 200, "error": "x"}}]})",
       "calls[0].conversion: give either error or status/body"},
      {R"({"calls": [{"conversion": {"body": "x"}}]})",
       "calls[0].conversion: expected {\"status\": N, \"body\": S} or {\"error\": S}"},
      {R"({"calls": [{"conversion": {"status": -1}}]})",
       "calls[0].conversion.status: expected an integer from 0 to 4294967295"},
      {R"({"calls": [{"place_drawing_fails": "some"}]})",
       "calls[0].place_drawing_fails: expected \"all\" or a list of 1-based call numbers"},
      {R"({"calls": [{"place_drawing_fails": [2, 0]}]})",
       "calls[0].place_drawing_fails[1]: expected an integer from 1 to 2147483647"},
      {R"({"calls": [{"stale_drawings": 12}]})",
       "calls[0].stale_drawings: expected a list of drawing types"},
      {R"({"inputs": []})", "inputs: expected an object of slot index -> value"},
      {R"({"inputs": {"128": 1}})", "inputs.128: input slot must be an index from 0 to 127"},
      {R"({"inputs": {"07": 1}})", "inputs.07: input slot must be an index from 0 to 127"},
      {R"({"inputs": {"-1": 1}})", "inputs.-1: input slot must be an index from 0 to 127"},
      {R"({"inputs": {"3": [1]}})",
       "inputs.3: expected a number, a boolean, a string or {\"type\": T, \"value\": V}"},
      {R"({"inputs": {"3": {"type": "number", "value": 1}}})",
       "inputs.3: unknown input type 'number'"},
      {R"({"inputs": {"3": {"type": "float"}}})", "inputs.3: expected {\"type\": T, \"value\": V}"},
      {R"({"inputs": {"3": {"type": "integer", "value": 2.5}}})",
       "inputs.3: value does not fit the type integer"},
      {R"({"inputs": {"3": {"type": "colour", "value": -1}}})",
       "inputs.3: value does not fit the type colour"},
      {R"({"inputs": {"3": {"type": "text", "value": 1}}})",
       "inputs.3: a text value must be a string or null"},
      {R"({"inputs": {"3": 1, "3": 2}})", "inputs.3: slot given twice"},
      {R"({"calls": [{"inputs": {"x": 1}}]})",
       "calls[0].inputs.x: input slot must be an index from 0 to 127"},
  };
  for (const Case& c : cases) EXPECT_EQ(errorOf(c.json), c.message) << c.json;
}

TEST(ReplayScenarioErrors, BrokenJsonIsReportedWithoutCrashing) {
  EXPECT_EQ(errorOf("").rfind("not valid JSON: ", 0), 0u);
  EXPECT_EQ(errorOf("{\"calls\": [").rfind("not valid JSON: ", 0), 0u);
  EXPECT_EQ(errorOf("{} trailing").rfind("not valid JSON: ", 0), 0u);
  EXPECT_EQ(errorOf(std::string(200000, '[')).rfind("not valid JSON: ", 0), 0u);
}

TEST(ReplayScenario, DefaultsAndFieldsAreRead) {
  const Scenario s = parseScenario(R"({
    "inputs": {"2": "SPX", "7": 0, "104": {"type": "text", "value": null}, "10": true},
    "calls": [{"time": "2026-03-10 10:00:00.5", "response": null, "place_drawing_fails": "all",
               "conversion": {"error": "down"}, "stale_drawings": [12, 39], "use_alt_clock": 1},
              {"response": "x", "conversion": {"status": 200}, "place_drawing_fails": [3]}]})",
                                   "");
  EXPECT_EQ(s.chart.bar_start, dateTimeFromCivil(2026, 3, 10, 34200 * kMicrosPerSecond));
  EXPECT_EQ(s.chart.bar_count, 390);
  EXPECT_EQ(s.chart.bar_seconds, 60);
  EXPECT_EQ(s.chart.chart_id, 1);
  ASSERT_EQ(s.inputs.size(), 4u);
  EXPECT_EQ(s.inputs[0].type, InputType::kText);
  EXPECT_TRUE(s.inputs[1].as_declared);
  EXPECT_FALSE(s.inputs[2].text.has_value());
  EXPECT_EQ(s.inputs[3].number, 1.0);
  ASSERT_EQ(s.calls.size(), 2u);
  const ScenarioCall& c0 = s.calls[0];
  EXPECT_EQ(*c0.time, dateTimeFromCivil(2026, 3, 10, 36000 * kMicrosPerSecond + 500000));
  EXPECT_TRUE(c0.script.response_ready);
  EXPECT_FALSE(c0.script.response_text.has_value());
  EXPECT_TRUE(c0.script.place_all_fail);
  EXPECT_FALSE(c0.script.conversion->ok);
  EXPECT_EQ(c0.script.conversion->error, "down");
  EXPECT_EQ(c0.stale_drawings, (std::vector<std::int32_t>{12, 39}));
  EXPECT_EQ(c0.use_alt_clock, 1);
  const ScenarioCall& c1 = s.calls[1];
  EXPECT_EQ(*c1.script.response_text, "x");
  EXPECT_EQ(c1.script.conversion->status, 200u);
  EXPECT_EQ(c1.script.place_fail_ordinals, (std::vector<std::int32_t>{3}));
}

TEST(ReplayDateTime, AcceptsOnlyTheScenarioNotation) {
  struct Case {
    const char* text;
    bool ok;
    std::int64_t expected;
  };
  const std::int64_t day = 86400 * kMicrosPerSecond;
  const Case cases[] = {
      {"1899-12-30 00:00:00", true, 0},
      {"1899-12-31 00:00:00.000001", true, day + 1},
      {"1970-01-01 00:00:00", true, 25569 * day},
      {"2024-02-29 23:59:59.5", true, dateTimeFromCivil(2024, 2, 29, 86399500000)},
      {"2100-02-29 00:00:00", false, 0},
      {"2026-03-10 24:00:00", false, 0},
      {"2026-03-10 12:60:00", false, 0},
      {"2026-13-10 12:00:00", false, 0},
      {"2026-03-10T12:00:00", false, 0},
      {"2026-03-10 12:00:00.", false, 0},
      {"2026-03-10 12:00:00.1234567", false, 0},
      {"2026-03-10 12:00", false, 0},
      {"0000-01-01 00:00:00", false, 0},
  };
  for (const Case& c : cases) {
    std::int64_t t = -7;
    EXPECT_EQ(parseDateTime(c.text, std::strlen(c.text), t), c.ok) << c.text;
    EXPECT_EQ(t, c.ok ? c.expected : -7) << c.text;
  }
}

TEST(ReplayCommand, BadArgumentsAndBadFilesExitNonZero) {
  char name[] = "replay";
  char missing[] = "/nonexistent/scenario.json";
  char* only_name[] = {name};
  char* with_file[] = {name, missing};
  EXPECT_EQ(runReplayCommand(1, only_name), 2);
  EXPECT_EQ(runReplayCommand(2, with_file), 1);
}

}  // namespace
}  // namespace ostrel::sim

// Golden traces through the platform entry: every tests/golden/NAME.scenario.json replayed with
// the simulated host presented as the platform's record, through the binding, must print the
// direct replay's expected trace NAME.trace.json, byte for byte, but for the chart number that
// the binding gives the drawings the study leaves on chart 0 (golden::platformTraceOf).
//
// Where the platform's record cannot hold a scenario's state (docs/replay-platform.md lists the
// cases), NAME.platform-trace.json holds the platform's trace instead; the test then also
// insists that it differs from the direct one, so that a stale exception is noticed. Regenerate
// those files with OSTREL_UPDATE_GOLDEN=1 after a deliberate change and review the diff.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/replay_run.h"
#include "sim/replay_scenario.h"
#include "sim/study_loader.h"
#include "tests/golden/golden_files.h"

namespace ostrel::sim {
namespace {

namespace fs = std::filesystem;
using golden::firstDifference;
using golden::goldenDir;
using golden::updating;

class GoldenPlatform : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenPlatform, TraceMatchesDirectReplay) {
  const fs::path scenario_path = goldenDir() / (GetParam() + golden::kScenarioSuffix);
  const fs::path direct_path = goldenDir() / (GetParam() + ".trace.json");
  const fs::path platform_path = goldenDir() / (GetParam() + ".platform-trace.json");
  std::string trace;
  std::string direct;
  std::int32_t chart_id = 0;
  try {
    const Scenario scenario = loadScenario(scenario_path.string());
    trace = runScenario(scenario, linkedPlatformStudy());
    direct = runScenario(scenario, linkedStudy());
    chart_id = scenario.chart.chart_id;
  } catch (const ScenarioError& e) {
    FAIL() << scenario_path << ": " << e.what();
  }
  direct = golden::platformTraceOf(direct, chart_id);
  const bool exception = fs::exists(platform_path);
  if (updating() && (exception || trace != direct)) {
    std::ofstream(platform_path, std::ios::binary) << trace;
    return;
  }
  if (!exception) {
    std::string expected;
    try {
      expected = golden::platformTraceOf(readFileBytes(direct_path.string()), chart_id);
    } catch (const ScenarioError& e) {
      FAIL() << e.what();
    }
    EXPECT_TRUE(trace == expected)
        << "platform trace differs from " << direct_path << firstDifference(expected, trace);
    return;
  }
  const std::string expected = readFileBytes(platform_path.string());
  EXPECT_TRUE(trace == expected) << platform_path << firstDifference(expected, trace);
  EXPECT_NE(trace, direct) << platform_path << " is no longer needed: delete it";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, GoldenPlatform, ::testing::ValuesIn(golden::scenarioNames()),
                         golden::testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenPlatform);

}  // namespace
}  // namespace ostrel::sim

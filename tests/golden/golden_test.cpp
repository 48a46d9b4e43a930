// Golden traces: every tests/golden/NAME.scenario.json is replayed against the linked study and
// its trace compared byte for byte with NAME.trace.json beside it.
//
// After a deliberate change of behaviour, regenerate the expected traces and review the diff:
//   OSTREL_UPDATE_GOLDEN=1 ./ostrel_tests --gtest_filter='Golden*'
// A scenario without a trace file fails until it is generated that way.
#include <gtest/gtest.h>

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
using golden::goldenDir;
using golden::updating;

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, TraceMatches) {
  const fs::path scenario = goldenDir() / (GetParam() + golden::kScenarioSuffix);
  const fs::path expected_path = goldenDir() / (GetParam() + ".trace.json");
  std::string trace;
  try {
    trace = runScenario(loadScenario(scenario.string()), linkedStudy());
  } catch (const ScenarioError& e) {
    FAIL() << scenario << ": " << e.what();
  }
  if (updating()) {
    std::ofstream(expected_path, std::ios::binary) << trace;
    return;
  }
  std::string expected;
  try {
    expected = readFileBytes(expected_path.string());
  } catch (const ScenarioError& e) {
    FAIL() << e.what() << " (generate it with OSTREL_UPDATE_GOLDEN=1)";
  }
  if (trace == expected) return;
  ADD_FAILURE() << expected_path << " differs" << golden::firstDifference(expected, trace);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Golden, ::testing::ValuesIn(golden::scenarioNames()),
                         golden::testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
}  // namespace ostrel::sim

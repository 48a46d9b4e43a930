// Golden traces through the platform entry: every tests/golden/NAME.scenario.json replayed with
// the simulated host presented as the platform's record, through the binding, must print the
// direct replay's expected trace NAME.trace.json, byte for byte.
//
// Where the platform's record cannot hold a scenario's state (docs/replay-platform.md lists the
// cases), NAME.platform-trace.json holds the platform's trace instead; the test then also
// insists that it differs from the direct one, so that a stale exception is noticed. Regenerate
// those files with OSTREL_UPDATE_GOLDEN=1 after a deliberate change and review the diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/replay_run.h"
#include "sim/replay_scenario.h"
#include "sim/study_loader.h"

namespace ostrel::sim {
namespace {

namespace fs = std::filesystem;

const char kSuffix[] = ".scenario.json";

fs::path goldenDir() { return fs::path(OSTREL_SOURCE_DIR) / "tests" / "golden"; }

std::vector<std::string> scenarioNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(goldenDir(), ec)) {
    const std::string file = entry.path().filename().string();
    const std::size_t n = sizeof kSuffix - 1;
    if (file.size() > n && file.compare(file.size() - n, n, kSuffix) == 0) {
      names.push_back(file.substr(0, file.size() - n));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool updating() {
  const char* flag = std::getenv("OSTREL_UPDATE_GOLDEN");
  return flag != nullptr && std::string(flag) == "1";
}

std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const auto lineAt = [at](const std::string& s) {
    const std::size_t begin = s.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
    return s.substr(from, s.find('\n', from) - from);
  };
  return "\n expected: " + lineAt(expected) + "\n   actual: " + lineAt(actual);
}

class GoldenPlatform : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenPlatform, TraceMatchesDirectReplay) {
  const fs::path scenario_path = goldenDir() / (GetParam() + kSuffix);
  const fs::path direct_path = goldenDir() / (GetParam() + ".trace.json");
  const fs::path platform_path = goldenDir() / (GetParam() + ".platform-trace.json");
  std::string trace;
  std::string direct;
  try {
    const Scenario scenario = loadScenario(scenario_path.string());
    trace = runScenario(scenario, linkedPlatformStudy());
    direct = runScenario(scenario, linkedStudy());
  } catch (const ScenarioError& e) {
    FAIL() << scenario_path << ": " << e.what();
  }
  const bool exception = fs::exists(platform_path);
  if (updating() && (exception || trace != direct)) {
    std::ofstream(platform_path, std::ios::binary) << trace;
    return;
  }
  if (!exception) {
    std::string expected;
    try {
      expected = readFileBytes(direct_path.string());
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

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, GoldenPlatform, ::testing::ValuesIn(scenarioNames()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenPlatform);

}  // namespace
}  // namespace ostrel::sim

// Golden traces: every tests/golden/NAME.scenario.json is replayed against the linked study and
// its trace compared byte for byte with NAME.trace.json beside it.
//
// After a deliberate change of behaviour, regenerate the expected traces and review the diff:
//   OSTREL_UPDATE_GOLDEN=1 ./ostrel_tests --gtest_filter='Golden*'
// A scenario without a trace file fails until it is generated that way.
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

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, TraceMatches) {
  const fs::path scenario = goldenDir() / (GetParam() + kSuffix);
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
  // Point at the first differing line rather than dumping two whole traces.
  std::size_t at = 0;
  while (at < trace.size() && at < expected.size() && trace[at] == expected[at]) ++at;
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(expected.begin(), expected.begin() + at, '\n'));
  const auto lineAt = [at](const std::string& s) {
    const std::size_t begin = s.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
    return s.substr(from, s.find('\n', from) - from);
  };
  ADD_FAILURE() << expected_path << " differs at line " << line
                << "\n expected: " << lineAt(expected) << "\n   actual: " << lineAt(trace);
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Golden, ::testing::ValuesIn(scenarioNames()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
}  // namespace ostrel::sim

// The golden scenarios' files: tests/golden/NAME.scenario.json beside NAME.trace.json (and, where
// the platform's record cannot hold the scenario, NAME.platform-trace.json). Shared by the direct
// and the platform golden tests so that both replay exactly the same set.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::sim::golden {

inline constexpr char kScenarioSuffix[] = ".scenario.json";

inline std::filesystem::path goldenDir() {
  return std::filesystem::path(OSTREL_SOURCE_DIR) / "tests" / "golden";
}

// NAME of every scenario file, sorted, so that test names and order are stable.
inline std::vector<std::string> scenarioNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(goldenDir(), ec)) {
    const std::string file = entry.path().filename().string();
    const std::size_t n = sizeof kScenarioSuffix - 1;
    if (file.size() > n && file.compare(file.size() - n, n, kScenarioSuffix) == 0) {
      names.push_back(file.substr(0, file.size() - n));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// OSTREL_UPDATE_GOLDEN=1 rewrites the expected files instead of comparing.
inline bool updating() {
  const char* flag = std::getenv("OSTREL_UPDATE_GOLDEN");
  return flag != nullptr && std::string(flag) == "1";
}

// The line of each text at the first byte where they differ, rather than two whole traces.
inline std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(expected.begin(), expected.begin() + at, '\n'));
  const auto lineAt = [at](const std::string& s) {
    const std::size_t begin = s.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
    return s.substr(from, s.find('\n', from) - from);
  };
  return " at line " + std::to_string(line) + "\n expected: " + lineAt(expected) +
         "\n   actual: " + lineAt(actual);
}

// The direct trace as the platform entry prints it: the binding places every drawing on the
// chart's own number where the study leaves it at 0 (the SDK's drawing helpers do the same),
// so each drawing's "ChartNumber": 0 reads the chart's id. Nothing else differs.
inline std::string platformTraceOf(const std::string& direct, std::int32_t chart_id) {
  static const std::string kUnset = "\"ChartNumber\": 0,";
  const std::string filled = "\"ChartNumber\": " + std::to_string(chart_id) + ",";
  std::string out;
  out.reserve(direct.size() + direct.size() / 64);
  std::size_t from = 0;
  for (std::size_t at = direct.find(kUnset); at != std::string::npos;
       at = direct.find(kUnset, from)) {
    out.append(direct, from, at - from).append(filled);
    from = at + kUnset.size();
  }
  return out.append(direct, from, std::string::npos);
}

// A gtest name from a scenario name (letters and digits kept, the rest '_').
inline std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
  }
  return name;
}

}  // namespace ostrel::sim::golden

// The budget table: a Google Benchmark reporter that keeps each benchmark's fastest repetition
// (CPU time per iteration and its counters), and the table that puts every figure beside its
// baseline, with the ratio and the budget.
//
// Budgets (all ratios are between figures of the same run):
// - parseGexProfile of 300 strikes: at most 1.25 x a bare RapidJSON parse of the same text with
//   the default flags (the recursive parser), the fastest calls of each taken in turn;
// - idle update call: at most 1 microsecond and at most 3 x fetching the 110 inputs, and no heap
//   allocation;
// - render pass of 300 strikes in mode Both: at most 1.5 x the bare host drawing calls it makes;
// - a whole trading day: under 5 seconds, with the live heap flat from the first hour to the
//   last (growth below 64 KiB), and the profile record's storage reused across answers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace ostrel::bench {

struct Figure {
  double seconds = 0.0;  // CPU time per iteration, fastest repetition
  std::map<std::string, double> counters;
  std::string error;  // non-empty when the benchmark skipped with an error
};

class CollectingReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& runs) override;

  // "BM_ParseGex/300" style names; null when the benchmark did not run.
  const Figure* find(const std::string& name) const;

 private:
  std::map<std::string, Figure> figures_;
};

// Prints the table on standard output; false when a budget failed or a figure is missing.
bool printBudgetTable(const CollectingReporter& reporter);

}  // namespace ostrel::bench

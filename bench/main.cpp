// ostrel_bench [--table] [Google Benchmark flags]
//
// Without --table it is a plain Google Benchmark binary. With --table it runs the benchmarks
// quietly and prints one table: every figure beside its baseline, their ratio and the budget
// with PASS or FAIL; the exit status is 1 when a budget failed.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/budget_table.h"

int main(int argc, char** argv) {
  bool table = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--table") == 0) {
      table = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  if (!table) {
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
  }
  ostrel::bench::CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return ostrel::bench::printBudgetTable(reporter) ? 0 : 1;
}

// The study through its platform entry and the binding (platform/), over the simulated
// platform's record (sim/platform_record.h):
// - the idle update call, timed from the platform's call of the export to its return (the
//   binding presents the record, the core runs, the binding writes back), against fetching the
//   110 inputs from the platform's record; its heap allocations in steady state;
// - the fetch baseline: the 110 input references of the record, as any study reads them.
#include <benchmark/benchmark.h>

#include "bench/alloc_counter.h"
#include "bench/answers.h"
#include "bench/study_fixture.h"
#include "platform/platform_call.h"
#include "sim/platform_record.h"
#include "study/input_ids.h"

namespace ostrel::bench {
namespace {

#if defined(__GNUC__)
__attribute__((noinline))
#endif
void fetchPlatformInputs(s_sc& sc) {
  s_SCInput_145* inputs[in::kInputCount];
  for (int i = 0; i < in::kInputCount; ++i) inputs[i] = &sc.Input[i];
  benchmark::DoNotOptimize(inputs);
  benchmark::ClobberMemory();
}

void BM_PlatformIdleCall(benchmark::State& state) {
  StudyFixture fixture;
  if (!fixture.reachIdle(makeGexAnswer(300))) {
    state.SkipWithError("the study did not reach the idle state");
    return;
  }
  sim::PlatformRecord platform(fixture.sim(), &platform::runPlatformCall);
  // The first call through the platform sets the binding up; the second must be idle.
  fixture.sim().runCall(sim::PlatformRecord::studyFunction());
  const sim::CallRecord& check = fixture.sim().runCall(sim::PlatformRecord::studyFunction());
  if (!check.requests.empty() || !check.placed.empty() || !check.removed.empty() ||
      check.removed_all != 0 || !check.log.empty()) {
    state.SkipWithError("the idle call did work");
    return;
  }
  s_sc& sc = platform.record();
  for (auto _ : state) platform::runPlatformCall(sc);
  constexpr int kCalls = 1000;
  AllocScope scope;
  for (int i = 0; i < kCalls; ++i) platform::runPlatformCall(sc);
  state.counters["all_allocs"] = static_cast<double>(scope.delta().allocations) / kCalls;
}

void BM_PlatformInputFetch(benchmark::State& state) {
  StudyFixture fixture;
  sim::PlatformRecord platform(fixture.sim(), &platform::runPlatformCall);
  fixture.sim().runCall(sim::PlatformRecord::studyFunction());
  s_sc& sc = platform.record();
  for (auto _ : state) fetchPlatformInputs(sc);
}

}  // namespace

BENCHMARK(BM_PlatformIdleCall)->Repetitions(9);
BENCHMARK(BM_PlatformInputFetch)->Repetitions(9);

}  // namespace ostrel::bench

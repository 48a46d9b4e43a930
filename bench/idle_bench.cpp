// The update call as the host makes it many times a second: the request window is open, a
// profile is drawn, the next request is not yet due and no answer is waiting. Its baseline is
// the least any update call does: fetching the references of the 110 inputs.
//
// BM_AnswerCycle is the other steady-state call: the one that carries a 300-strike answer and
// parses and draws it.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/alloc_counter.h"
#include "bench/answers.h"
#include "bench/host_op_replay.h"
#include "bench/study_fixture.h"
#include "host/host_calls.h"
#include "study/input_ids.h"
#include "study/study_entry.h"

namespace ostrel::bench {
namespace {

// What every update call does before anything else.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void fetchInputs(StudyHost& host) {
  StudyInput* inputs[in::kInputCount];
  for (std::int32_t i = 0; i < in::kInputCount; ++i) inputs[i] = &host::input(host, i);
  benchmark::DoNotOptimize(inputs);
  benchmark::ClobberMemory();
}

AllocTotals g_counted;

void countedStudy(StudyHost& host) {
  AllocScope scope;
  studyFunction(host);
  g_counted = scope.delta();
}

// Heap allocations per call over `calls` calls, with and without the host's own.
void countAllocations(benchmark::State& state, StudyHost& host, void (*function)(StudyHost&),
                      int calls) {
  AllocScope all;
  for (int i = 0; i < calls; ++i) function(host);
  state.counters["all_allocs"] = static_cast<double>(all.delta().allocations) / calls;
  shimHostOps(host);
  AllocScope study;
  for (int i = 0; i < calls; ++i) function(host);
  state.counters["study_allocs"] = static_cast<double>(study.delta().allocations) / calls;
  unshimHostOps(host);
}

void BM_IdleCall(benchmark::State& state) {
  StudyFixture fixture;
  if (!fixture.reachIdle(makeGexAnswer(300))) {
    state.SkipWithError("the study did not reach the idle state");
    return;
  }
  // The call must be idle: nothing sent, drawn, removed or logged.
  const sim::CallRecord& check = fixture.sim().runCall(&studyFunction);
  if (!check.requests.empty() || !check.placed.empty() || !check.removed.empty() ||
      check.removed_all != 0 || !check.log.empty()) {
    state.SkipWithError("the idle call did work");
    return;
  }
  StudyHost& host = fixture.host();
  for (auto _ : state) studyFunction(host);
  countAllocations(state, host, &studyFunction, 1000);
}

// The host operations that the idle call makes (stored values, the zone conversion of the
// request window), replayed bare: the host's share of the idle call.
void BM_IdleHostOps(benchmark::State& state) {
  StudyFixture fixture;
  if (!fixture.reachIdle(makeGexAnswer(300))) {
    state.SkipWithError("the study did not reach the idle state");
    return;
  }
  StudyHost& host = fixture.host();
  const std::vector<HostOpCall> calls = recordHostOps(host, &studyFunction);
  if (!replayable(calls)) {
    state.SkipWithError("the idle call made host operations that cannot be replayed");
    return;
  }
  for (auto _ : state) replayHostOps(host, calls);
  state.counters["host_ops"] = static_cast<double>(calls.size());
}

void BM_InputFetch(benchmark::State& state) {
  StudyFixture fixture;
  StudyHost& host = fixture.host();
  for (auto _ : state) fetchInputs(host);
}

void BM_AnswerCycle(benchmark::State& state) {
  const std::string answer = makeGexAnswer(300);
  StudyFixture fixture;
  if (!fixture.reachIdle(answer)) {
    state.SkipWithError("the study did not reach the idle state");
    return;
  }
  StudyHost& host = fixture.host();
  DateTime t = host.CurrentTime;
  // One request and its answer, 5 seconds after the previous one; only the answer is timed.
  const auto cycle = [&](benchmark::State* timed, bool shim) {
    if (timed != nullptr) timed->PauseTiming();
    t += 5 * sim::kMicrosPerSecond;
    fixture.call(t, answer);
    if (!fixture.profilePending()) return false;
    if (shim) shimHostOps(host);
    if (timed != nullptr) timed->ResumeTiming();
    fixture.call(t + sim::kMicrosPerSecond, answer);
    if (shim) unshimHostOps(host);
    return true;
  };
  for (int i = 0; i < 3; ++i) cycle(nullptr, false);  // steady state
  for (auto _ : state) {
    if (!cycle(&state, false)) {
      state.SkipWithError("no profile request went out");
      return;
    }
  }
  // Allocation counts of the answer call's study function alone (not the host's call set-up).
  AllocTotals all{};
  AllocTotals study{};
  for (int i = 0; i < 2; ++i) {
    t += 5 * sim::kMicrosPerSecond;
    fixture.call(t, answer);
    if (i == 1) shimHostOps(host);
    fixture.call(t + sim::kMicrosPerSecond, answer, false, &countedStudy);
    (i == 0 ? all : study) = g_counted;
    unshimHostOps(host);
  }
  state.counters["all_allocs"] = static_cast<double>(all.allocations);
  state.counters["study_allocs"] = static_cast<double>(study.allocations);
}

}  // namespace

// Short and sensitive to other work on the machine: more repetitions, the fastest counts.
BENCHMARK(BM_IdleCall)->Repetitions(9);
BENCHMARK(BM_IdleHostOps)->Repetitions(9);
BENCHMARK(BM_InputFetch)->Repetitions(9);
BENCHMARK(BM_AnswerCycle);

}  // namespace ostrel::bench

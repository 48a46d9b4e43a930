// The study through its platform entry and the binding (platform/), over the simulated
// platform's record (sim/platform_record.h):
// - the idle update call, timed from the platform's call of the export to its return (the
//   binding presents the record, the core runs, the binding writes back), against fetching the
//   110 inputs from the platform's record; its heap allocations in steady state;
// - the fetch baseline: reading the 110 inputs from the record (type and value of that type),
//   as any study on the platform does in every call;
// - the render pass of a 300-strike profile in mode Both through the binding, against the bare
//   platform calls it makes (UseTool with the very records the binding handed over, the
//   deletions, the persistent ints of the drawing slots), recorded and replayed.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/alloc_counter.h"
#include "bench/answers.h"
#include "bench/platform_pass_replay.h"
#include "bench/study_fixture.h"
#include "model/gex_data.h"
#include "model/greek_data.h"
#include "model/parse_gex_profile.h"
#include "platform/binding_instance.h"
#include "platform/platform_call.h"
#include "render/render_levels.h"
#include "sim/platform_record.h"
#include "study/input_ids.h"
#include "study/state_keys.h"

namespace ostrel::bench {
namespace {

// What a study reads from the platform's record before anything else in every call: each of
// its 110 inputs, its type and the value of that type (a text by its pointer).
struct InputValue {
  unsigned char type;
  float f;
  double d;
  std::uint32_t u;
  const char* text;
};

#if defined(__GNUC__)
__attribute__((noinline))
#endif
void fetchPlatformInputs(s_sc& sc) {
  InputValue values[in::kInputCount];
  for (int i = 0; i < in::kInputCount; ++i) {
    const s_SCInput_145& input = sc.Input[i];
    InputValue& v = values[i];
    v = InputValue{input.ValueType, 0.0f, 0.0, 0u, nullptr};
    switch (input.ValueType) {
      case FLOAT_VALUE: v.f = input.FloatValue; break;
      case TIME_VALUE: v.d = input.DateTimeValue; break;
      case COLOR_VALUE: v.u = input.ColorValue; break;
      case TIMEZONE_VALUE: v.u = input.IndexValue; break;
      case STRING_VALUE: v.text = input.StringValue; break;
      default: v.u = input.IndexValue; break;
    }
  }
  benchmark::DoNotOptimize(values);
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

// The same call with a step that does nothing in place of the study function: what the binding
// itself costs an idle call (presenting the record, comparing the inputs both ways, the write
// back), apart from the study and the platform operations it makes.
void BM_PlatformIdleBinding(benchmark::State& state) {
  StudyFixture fixture;
  if (!fixture.reachIdle(makeGexAnswer(300))) {
    state.SkipWithError("the study did not reach the idle state");
    return;
  }
  sim::PlatformRecord platform(fixture.sim(), &platform::runPlatformCall);
  fixture.sim().runCall(sim::PlatformRecord::studyFunction());
  s_sc& sc = platform.record();
  platform::BindingInstance binding;
  const auto nothing = [](StudyHost&, void*) {};
  binding.runStep(sc, nothing, nullptr);  // the first call converts every input
  for (auto _ : state) binding.runStep(sc, nothing, nullptr);
}

void BM_PlatformInputFetch(benchmark::State& state) {
  StudyFixture fixture;
  sim::PlatformRecord platform(fixture.sim(), &platform::runPlatformCall);
  fixture.sim().runCall(sim::PlatformRecord::studyFunction());
  s_sc& sc = platform.record();
  for (auto _ : state) fetchPlatformInputs(sc);
}

struct PlatformRender {
  StudyFixture fixture;
  sim::PlatformRecord platform{fixture.sim(), &platform::runPlatformCall};
  platform::BindingInstance binding;
  GexData gex;
  GreekData greek;
  std::string error;

  PlatformRender() {
    StudyHost& host = fixture.host();
    host.CurrentTime = sessionTime(10, 0, 0);
    const std::string text = makeGexAnswer(300);
    const char* response = text.c_str();
    if (parseGexProfile(host, &response, &gex) != ParseOutcome::filled) {
      error = "the GEX answer did not parse";
    } else if (fixture.sim().input(in::kGexDisplay).int_value != 2) {
      error = "the display mode is not Both";
    }
    fixture.sim().runCall(sim::PlatformRecord::studyFunction());  // the record now holds the chart
  }

  static void step(StudyHost& host, void* context) {
    PlatformRender& self = *static_cast<PlatformRender*>(context);
    std::int32_t drawing_key = key::first_drawing_slot;
    renderLevels(host, drawing_key, &self.gex, &self.greek, 0.0f, 1.0f);
  }
  static void pass(void* context) {
    PlatformRender& self = *static_cast<PlatformRender*>(context);
    self.binding.runStep(self.platform.record(), &step, context);
  }
  // A fresh call record of the simulated host (it records every drawing call it serves).
  void freshCall() { fixture.sim().runCall(nullptr); }
};

void BM_PlatformRenderPass(benchmark::State& state) {
  PlatformRender setup;
  if (!setup.error.empty()) {
    state.SkipWithError(setup.error.c_str());
    return;
  }
  PlatformRender::pass(&setup);
  setup.freshCall();
  PlatformRender::pass(&setup);
  const sim::CallRecord& record = setup.fixture.sim().lastCall();
  if (record.placed.size() < 300u) {
    state.SkipWithError("the pass placed fewer drawings than strikes");
    return;
  }
  state.counters["placed"] = static_cast<double>(record.placed.size());
  for (auto _ : state) {
    state.PauseTiming();
    setup.freshCall();
    state.ResumeTiming();
    PlatformRender::pass(&setup);
  }
}

void BM_PlatformRenderCalls(benchmark::State& state) {
  PlatformRender setup;
  if (!setup.error.empty()) {
    state.SkipWithError(setup.error.c_str());
    return;
  }
  s_sc& sc = setup.platform.record();
  PlatformRender::pass(&setup);
  setup.freshCall();
  const auto earlier = PlatformPassReplay::record(sc, &PlatformRender::pass, &setup);
  setup.freshCall();
  const auto pass = PlatformPassReplay::record(sc, &PlatformRender::pass, &setup);
  PlatformPassReplay replay(earlier, pass);
  if (!replay.replayable()) {
    state.SkipWithError("the pass made platform calls that cannot be replayed");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    setup.freshCall();
    state.ResumeTiming();
    replay.run(sc);
  }
  // The replay leaves what the pass leaves: as many drawings of the study on the chart.
  state.counters["platform_calls"] = static_cast<double>(replay.operations());
  state.counters["drawings_left"] = static_cast<double>(setup.fixture.sim().drawings().size());
}

}  // namespace

BENCHMARK(BM_PlatformIdleCall)->Repetitions(9);
BENCHMARK(BM_PlatformIdleBinding)->Repetitions(9);
BENCHMARK(BM_PlatformRenderPass);
BENCHMARK(BM_PlatformRenderCalls);
BENCHMARK(BM_PlatformInputFetch)->Repetitions(9);

}  // namespace ostrel::bench

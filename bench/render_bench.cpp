// The render pass of a 300-strike GEX profile in mode Both (the default) against the bare host
// drawing calls that the same pass makes: the RemoveDrawing calls, the RemoveStudyDrawings call
// and every PlaceDrawing with the very records the pass handed the host, replayed in order.
// The difference is the study's own work: reading inputs, layout, the largest-N filter and
// filling the drawing records.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/answers.h"
#include "bench/study_fixture.h"
#include "model/gex_data.h"
#include "model/greek_data.h"
#include "model/parse_gex_profile.h"
#include "render/render_levels.h"
#include "study/input_ids.h"
#include "study/state_keys.h"

namespace ostrel::bench {
namespace {

constexpr int kStrikes = 300;

struct RenderSetup {
  StudyFixture fixture;
  GexData gex;
  GreekData greek;
  std::string error;

  RenderSetup() {
    StudyHost& host = fixture.host();
    host.CurrentTime = sessionTime(10, 0, 0);
    host.CurrentBarIndex = 30;
    const std::string text = makeGexAnswer(kStrikes);
    const char* response = text.c_str();
    if (parseGexProfile(host, &response, &gex) != ParseOutcome::filled) {
      error = "the GEX answer did not parse";
    } else if (fixture.sim().input(in::kGexDisplay).int_value != 2) {
      error = "the display mode is not Both";
    }
  }

  // One pass in a fresh call record (the simulated host records every drawing call).
  const sim::CallRecord& pass() {
    fixture.sim().runCall(nullptr);
    std::int32_t drawing_key = key::first_drawing_slot;
    renderLevels(fixture.host(), drawing_key, &gex, &greek, 0.0f, 1.0f);
    return fixture.sim().lastCall();
  }
};

void BM_RenderPass(benchmark::State& state) {
  RenderSetup setup;
  if (!setup.error.empty()) {
    state.SkipWithError(setup.error.c_str());
    return;
  }
  setup.pass();  // the first pass only places; every later one removes the previous first
  const sim::CallRecord& record = setup.pass();
  if (record.placed.size() < static_cast<std::size_t>(kStrikes)) {
    state.SkipWithError("the pass placed fewer drawings than strikes");
    return;
  }
  state.counters["placed"] = static_cast<double>(record.placed.size());
  state.counters["removed"] = static_cast<double>(record.removed.size());
  StudyHost& host = setup.fixture.host();
  for (auto _ : state) {
    state.PauseTiming();
    setup.fixture.sim().runCall(nullptr);
    state.ResumeTiming();
    std::int32_t drawing_key = key::first_drawing_slot;
    renderLevels(host, drawing_key, &setup.gex, &setup.greek, 0.0f, 1.0f);
  }
}

void BM_BareDrawingCalls(benchmark::State& state) {
  RenderSetup setup;
  if (!setup.error.empty()) {
    state.SkipWithError(setup.error.c_str());
    return;
  }
  setup.pass();
  const sim::CallRecord& record = setup.pass();
  std::vector<DrawingSpec> specs;
  std::vector<std::int32_t> asked;
  specs.reserve(record.placed.size());
  for (const sim::PlacedRecord& placed : record.placed) {
    specs.push_back(placed.spec);
    asked.push_back(placed.spec.DrawingNumber);
  }
  const std::size_t removes = record.removed.size();
  const std::int32_t remove_alls = record.removed_all;
  // The numbers the previous round placed, removed as the pass removes its slot drawings.
  std::vector<std::int32_t> previous;
  for (const sim::PlacedRecord& placed : record.placed) previous.push_back(placed.number);

  StudyHost& host = setup.fixture.host();
  const StudyHostOperations ops = host.Ops;
  for (auto _ : state) {
    state.PauseTiming();
    setup.fixture.sim().runCall(nullptr);
    state.ResumeTiming();
    for (std::size_t i = 0; i < removes; ++i) {
      ops.RemoveDrawing(&host, host.ChartId, i < previous.size() ? previous[i] : 0);
    }
    for (std::int32_t i = 0; i < remove_alls; ++i) {
      ops.RemoveStudyDrawings(&host, host.ChartId, -1, 0);
    }
    for (std::size_t i = 0; i < specs.size(); ++i) {
      specs[i].DrawingNumber = asked[i];
      ops.PlaceDrawing(&host, &specs[i]);
      previous[i] = specs[i].DrawingNumber;
    }
  }
}

}  // namespace

BENCHMARK(BM_RenderPass);
BENCHMARK(BM_BareDrawingCalls);

}  // namespace ostrel::bench

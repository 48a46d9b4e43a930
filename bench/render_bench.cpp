// The render pass of a 300-strike GEX profile in mode Both (the default) against the bare host
// operations that the same pass makes, recorded and replayed in order (bench/pass_replay.h):
// the RemoveDrawing calls, the RemoveStudyDrawings call, every PlaceDrawing with the very
// record the pass handed the host, and the stored-value reads and writes of the drawing slots
// (a slot read and written per drawing, and last_drawing_slot). The difference is the study's
// own work: reading inputs, layout, the largest-N filter and filling the drawing records.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/answers.h"
#include "bench/host_op_replay.h"
#include "bench/pass_replay.h"
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

std::size_t removeCount(const std::vector<HostOpCall>& calls) {
  std::size_t n = 0;
  for (const HostOpCall& c : calls) n += c.kind == HostOpCall::Kind::kRemoveDrawing ? 1 : 0;
  return n;
}

void recordedPass(StudyHost& host, void* setup) {
  RenderSetup& s = *static_cast<RenderSetup*>(setup);
  std::int32_t drawing_key = key::first_drawing_slot;
  renderLevels(host, drawing_key, &s.gex, &s.greek, 0.0f, 1.0f);
}

void BM_RenderHostOps(benchmark::State& state) {
  RenderSetup setup;
  if (!setup.error.empty()) {
    state.SkipWithError(setup.error.c_str());
    return;
  }
  StudyHost& host = setup.fixture.host();
  setup.pass();
  setup.fixture.sim().runCall(nullptr);
  const std::vector<HostOpCall> earlier = recordHostOps(host, &recordedPass, &setup);
  setup.fixture.sim().runCall(nullptr);
  const std::vector<HostOpCall> pass = recordHostOps(host, &recordedPass, &setup);
  PassReplay replay(earlier, pass);
  if (!replay.replayable()) {
    state.SkipWithError("the pass made host operations that cannot be replayed");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    setup.fixture.sim().runCall(nullptr);
    state.ResumeTiming();
    replay.run(host);
  }
  // The replay must leave the host as the pass does: the study's next pass finds the replay's
  // drawings in its slots and removes exactly them.
  std::vector<std::int32_t> placed;
  for (const sim::PlacedRecord& p : setup.fixture.sim().lastCall().placed)
    placed.push_back(p.number);
  const sim::CallRecord& next = setup.pass();
  bool same = next.removed.size() == removeCount(pass);
  for (std::size_t i = 0; same && i < next.removed.size(); ++i) same = next.removed[i] == placed[i];
  if (!same) {
    state.SkipWithError("the replay did not leave the drawings the pass leaves");
    return;
  }
  state.counters["host_ops"] = static_cast<double>(replay.operations());
  state.counters["stored_ops"] = static_cast<double>(replay.storedValueOperations());
}

}  // namespace

BENCHMARK(BM_RenderPass);
BENCHMARK(BM_RenderHostOps);

}  // namespace ostrel::bench

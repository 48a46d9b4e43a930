#include "sim/replay_run.h"

#include <optional>

#include "jsonout/json_writer.h"
#include "sim/allocation_faults.h"
#include "sim/platform_record.h"
#include "sim/replay_inputs.h"
#include "sim/replay_trace.h"
#include "sim/sim_host.h"

namespace ostrel::sim {
namespace {

void writeInputs(const std::vector<InputWrite>& writes, SimHost& sim) {
  for (const InputWrite& w : writes) applyInputWrite(w, sim.input(w.index));
}

const char* callKind(const ScenarioCall& call) {
  if (call.removal) return "removal";
  if (call.suspended) return "suspended";
  return "update";
}

// Ends the allocation session even when the replay throws, so nothing counts past it.
class AllocationSession {
 public:
  explicit AllocationSession(const ReplayOptions& options) : on_(options.count_allocations) {
    if (on_) startAllocationSession(options.fail_allocation);
  }
  ~AllocationSession() {
    if (on_) endAllocationSession();
  }
  AllocationSession(const AllocationSession&) = delete;
  AllocationSession& operator=(const AllocationSession&) = delete;

 private:
  bool on_;
};

void writeAllocationReport(JsonWriter& out) {
  const AllocationReport report = allocationReport();
  out.key("allocations");
  out.integer(static_cast<std::int64_t>(report.allocations));
  out.key("failed_allocation");
  if (report.failed) {
    out.beginObject(/*inline_container=*/true);
    out.key("call");
    out.integer(report.failed_call);
    out.endObject();
  } else {
    out.null();
  }
}

}  // namespace

std::string runScenario(const Scenario& scenario, const StudyEntry& study,
                        const ReplayOptions& options) {
  const ChartSetup& chart = scenario.chart;
  SimHost sim;
  sim.setHostZone(chart.host_zone);
  const std::int64_t step = chart.bar_seconds * kMicrosPerSecond;
  sim.setBars(chart.bar_start, step, chart.bar_count);
  StudyHost& h = sim.host();
  std::optional<PlatformRecord> platform;
  StudyFunction function = study.function;
  if (study.platform != nullptr) {
    platform.emplace(sim, study.platform);
    function = PlatformRecord::studyFunction();
  }
  h.PriceTick = chart.tick;
  h.HostBuild = chart.host_build;
  h.ChartId = chart.chart_id;
  h.CurrentTime = h.ClockTime = h.AltClockTime = chart.bar_start;

  JsonWriter out;
  out.beginObject();
  out.key("calls");
  out.beginArray();
  const AllocationSession session(options);
  setAllocationCall(0);
  const CallRecord& defaults = sim.runDefaults(function);
  writeCallTrace(out, 0, "defaults", defaults, sim);
  if (options.after_call) options.after_call(0, sim, defaults);
  writeInputs(scenario.inputs, sim);

  DateTime previous_time = chart.bar_start;
  std::int32_t index = 1;
  for (const ScenarioCall& call : scenario.calls) {
    if (call.bar_count && *call.bar_count != h.BarCount) {
      sim.setBars(chart.bar_start, step, *call.bar_count);
    }
    const DateTime time = call.time.value_or(previous_time);
    h.CurrentTime = time;
    h.ClockTime = call.clock.value_or(time);
    h.AltClockTime = call.alt_clock.value_or(time);
    h.UseAltClock = call.use_alt_clock;
    h.IsFullRecalc = call.full_recalc ? 1 : 0;
    h.IsRemovalCall = call.removal ? 1 : 0;
    h.IsSuspended = call.suspended ? 1 : 0;
    h.CurrentBarIndex = call.current_bar.value_or(h.BarCount - 1);
    if (call.recalc_from_bar) h.RecalcFromBar = *call.recalc_from_bar;
    writeInputs(call.inputs, sim);
    for (std::int32_t type : call.stale_drawings) sim.addStaleDrawing(type);
    setAllocationCall(index);
    const CallRecord& record = sim.runCall(function, call.script);
    writeCallTrace(out, index, callKind(call), record, sim);
    if (options.after_call) options.after_call(index, sim, record);
    ++index;
    previous_time = time;
  }
  out.endArray();
  out.key("final");
  writeFinalTrace(out, sim);

  setAllocationCall(index);
  h.IsFullRecalc = 0;
  h.IsSuspended = 0;
  sim.releaseStudy(function);
  platform.reset();
  if (options.count_allocations) writeAllocationReport(out);
  out.endObject();
  return out.text();
}

}  // namespace ostrel::sim

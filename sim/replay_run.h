// Running a replay scenario: the defaults call, the scenario's inputs, then each call with its
// host fields, inputs, answers and faults. Returns the trace text.
//
// After the trace is taken, a study that still holds stored pointers gets one more removal
// call (not traced), as when the platform closes the chart, so its records are released.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sim/replay_scenario.h"
#include "sim/sim_host.h"
#include "sim/study_loader.h"

namespace ostrel::sim {

struct ReplayOptions {
  // Counts the allocations of the study's calls (sim/allocation_faults.h) and fails the
  // fail_allocation-th (0: none); the trace then ends with "allocations" and
  // "failed_allocation". The release calls after the trace count as the call after the last.
  bool count_allocations = false;
  std::uint64_t fail_allocation = 0;
  // Called after each traced call (the defaults call is index 0), for checks between calls.
  std::function<void(std::int32_t index, const SimHost& sim, const CallRecord& record)> after_call;
};

// Throws ScenarioError for what only shows while running (a bare number for a slot that the
// defaults call left without a type, or declared as a text).
std::string runScenario(const Scenario& scenario, const StudyEntry& study,
                        const ReplayOptions& options = ReplayOptions());

}  // namespace ostrel::sim

// Running a replay scenario: the defaults call, the scenario's inputs, then each call with its
// host fields, inputs, answers and faults. Returns the trace text.
//
// After the trace is taken, a study that still holds stored pointers gets one more removal
// call (not traced), as when the platform closes the chart, so its records are released.
#pragma once

#include <string>

#include "sim/replay_scenario.h"
#include "sim/study_loader.h"

namespace ostrel::sim {

// Throws ScenarioError for what only shows while running (a bare number for a slot that the
// defaults call left without a type, or declared as a text).
std::string runScenario(const Scenario& scenario, const StudyEntry& study);

}  // namespace ostrel::sim

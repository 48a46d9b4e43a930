// Test support for the out-of-memory tests of the scheduler and the binding: an answer to hand
// the study, the log lines that say memory ran out, and the drawing invariant a call that ran
// out must keep.
#pragma once

#include <cstdint>
#include <string>

#include "sim/sim_host.h"
#include "study/state_keys.h"

namespace ostrel::test {

// A call whose answer to the pending request is `text`.
inline sim::CallScript answer(const char* text) {
  sim::CallScript s;
  s.response_ready = true;
  s.response_text = text;
  return s;
}

// The flag-1 lines of a call that say memory ran out.
inline int outOfMemoryLines(const sim::CallRecord& rec) {
  int n = 0;
  for (const auto& line : rec.log) {
    if (line.text.find("out of memory") != std::string::npos && line.flag == 1) ++n;
  }
  return n;
}

// Whether every drawing of the study on the chart is recorded in a drawing slot.
inline bool allDrawingsRecorded(const sim::SimHost& sim) {
  const auto& stored = sim.storedInts().values;
  for (const auto& entry : sim.drawings()) {
    bool found = false;
    for (std::int32_t k = key::first_drawing_slot; k <= key::last_drawing_slot_key && !found; ++k) {
      const auto it = stored.find(k);
      found = it != stored.end() && it->second == entry.first;
    }
    if (!found) return false;
  }
  return true;
}

}  // namespace ostrel::test

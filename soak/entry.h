// SoakEntry: how the soak's host reaches the study on each call, the one seam between the week's
// driver and the study.
//
// The direct entry hands the SimHost's record to the study linked into this executable
// (SimHost::runCall). A platform entry hands the same call to the study through the platform
// binding instead: it builds the platform's own study record from the SimHost's state, calls the
// exported study function with it, and writes back what the study changed (inputs, stored
// values, drawings, subgraphs, log lines, requests) into the SimHost and its CallRecord. Every
// invariant reads the SimHost only, so both entries are checked the same way.
//
// A call's kind is the host record's flags (IsDefaultsCall, IsRemovalCall, IsFullRecalc), set
// by the driver before the call; `script` is the host's answer channel and faults for the call.
#pragma once

#include <memory>
#include <string>

#include "sim/sim_host.h"

namespace ostrel::soak {

class SoakEntry {
 public:
  virtual ~SoakEntry() = default;
  virtual const char* name() const noexcept = 0;
  // One call of the study on `chart`. Returns what the study did (valid until the next call).
  virtual const sim::CallRecord& call(sim::SimHost& chart, const sim::CallScript& script) = 0;
  // The instance on `chart` ends (after its removal call, or with the run): what the entry keeps
  // for it goes, before the SimHost does. False when the study's side still held state then
  // (released now by a last call of the entry's own).
  virtual bool drop(sim::SimHost& chart) = 0;
  // What went wrong in presenting the last call to the study, beyond the study's own doing
  // (empty: nothing); cleared by the next call.
  virtual const std::string& callProblem() const noexcept = 0;
};

std::unique_ptr<SoakEntry> makeDirectEntry();
// The platform entry: each SimHost is presented to the study linked into this executable as the
// platform's record (sim/platform_record.h), one PlatformRecord per SimHost from its first call
// to drop(). The record's direct HTTPS request is the SimHost's DirectHttpsGet, so the futures
// conversion reaches the soak's service as in the direct entry. Null with a reason when the
// platform entry is not available.
std::unique_ptr<SoakEntry> makePlatformEntry(std::string& error);

}  // namespace ostrel::soak

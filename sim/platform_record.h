// PlatformRecord: a SimHost presented to the study as the platform's own study record (`s_sc` of
// the SDK the build names: our stand-in, or an installation's headers), so that the study runs
// through its platform entry and the binding.
//
// It plays the platform with the SDK's own names only: it defines the record's constructor and
// builds the record in zeroed storage, so that every function pointer it does not serve is null;
// it never copies a record. It hands the record 128 inputs and 60 subgraphs through
// InternalSetArray (the bar times and each subgraph's arrays too: the subgraph arrays are the
// SimHost's own storage), fills each input's InputIndex and internal functions, writes every
// input value through the SDK's setters as the platform's settings dialog does, and reads what
// the study wrote through the getters. The record's operations forward to the SimHost's own
// StudyHost operations, so everything the study does is recorded exactly as in a direct call;
// after each call what the record holds is copied back into the SimHost, its stored texts and
// pointers into the SimHost's stores.
//
// Use (a test or another tool driving the study through the platform entry):
//   SimHost sim;
//   PlatformRecord platform(sim, &ostrel::platform::runPlatformCall);  // or a DLL's export
//   sim.runDefaults(platform.studyFunction());
//   sim.runCall(platform.studyFunction(), script);
// The PlatformRecord must outlive those calls, on the same thread. Several may be alive on a
// thread (one per SimHost; they may end in any order): a call finds the record of its SimHost
// (the newest one, should two share a SimHost), and the platform's operations, which carry no
// context, find the record whose call is running through a thread-local pointer (outside a call:
// the newest record). Its destructor makes the platform's last call for the instance when
// the binding still holds state (untraced), so nothing leaks.
//
// The simulated platform (sim/platform_record_ops.h has the rest):
// - answers requests in the order it started them: a call with an answer carries the id of the
//   oldest request not yet answered (no id when none is outstanding);
// - holds one chart: it places only drawings for the record's ChartNumber and GraphRegion
//   (what the platform does with others is not documented) and refuses the rest;
// - keeps drawings placed with AddAsUserDrawnDrawing 1 as user-drawn (see the ops);
// - reports its version as the text of HostBuild; holds the binding's own persistent pointer
//   (kInstancePointerKey) apart from the SimHost's stores, which record the study's only.
// What the record cannot hold (see docs/replay-platform.md): a text input without a text (it
// reads back as the empty text), a time of day that is not a whole second, a ClockTime other
// than CurrentTime, a CurrentBarIndex other than BarCount - 1.
//
// This header does not include the SDK, so that the tools that drive a PlatformRecord compile
// without it; record() is for those that include it themselves (tests of the binding).
#pragma once

#include <cstddef>
#include <memory>

#include "sim/sim_host.h"

struct s_sc;  // the platform's study record (platform/platform_sdk.h)

namespace ostrel::sim {

using PlatformStudyFunction = void (*)(s_sc&);

class PlatformRecord {
 public:
  PlatformRecord(SimHost& sim, PlatformStudyFunction study);
  ~PlatformRecord();
  PlatformRecord(const PlatformRecord&) = delete;
  PlatformRecord& operator=(const PlatformRecord&) = delete;

  // A StudyFunction for SimHost::runCall that calls the study through this record.
  static StudyFunction studyFunction() noexcept;

  s_sc& record() noexcept;
  // The binding keeps an instance of the study (its persistent pointer is set): true until a
  // removal call released it.
  bool holdsBindingState() const noexcept;
  // Requests started and not yet answered: the next answer carries the oldest one's id.
  std::size_t unansweredRequests() const noexcept;
  SimHost& sim() noexcept { return sim_; }

  struct State;  // the platform's side (sim/platform_record_state.h)

 private:
  friend struct PlatformOps;  // the record's operations (platform_record_ops.cpp)

  static PlatformRecord* current() noexcept;  // the record in a call, else the newest
  static void callThrough(StudyHost& host);
  void call();
  void release() noexcept;

  SimHost& sim_;
  PlatformStudyFunction study_;
  std::unique_ptr<State> state_;
  PlatformRecord* previous_ = nullptr;  // the next older record alive on this thread
};

}  // namespace ostrel::sim

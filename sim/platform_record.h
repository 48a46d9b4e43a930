// PlatformRecord: a SimHost presented to the study as the platform's own study record (s_sc of
// the SDK stand-in), so that the study runs through its platform entry and the binding.
//
// The record's operation members point into the SimHost: each forwards to the SimHost's own
// StudyHost operation, so everything the study does is recorded exactly as in a direct call.
// Before each call the SimHost's fields, inputs and subgraphs are copied into the record (its
// subgraph arrays are the SimHost's own, not copies); after it, what the record holds is copied
// back into the SimHost, and its stored texts and pointers into the SimHost's stores.
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
// The simulated platform:
// - answers requests in the order it started them: a call with an answer carries the id of the
//   oldest request not yet answered (no id when none is outstanding);
// - keeps drawings placed with AddAsUserDrawnDrawing 1 as user-drawn: the study-drawing
//   operations (GetACSDrawingsCount, GetACSDrawingByIndex) do not see them, the user-drawn ones
//   do (with the trader's own drawings, those added as not the study's); deleting all the
//   study's drawings (TOOL_DELETE_ALL) removes the user-drawn ones too; deleting a user-drawn
//   drawing that is no longer there does nothing;
// - reports its version as the text of HostBuild; holds the binding's own persistent pointer
//   (kInstancePointerKey) apart from the SimHost's stores, which record the study's only.
// What the record cannot hold (see docs/replay-platform.md): a text input without a text (it
// reads back as the empty text), a ClockTime other than CurrentTime, a CurrentBarIndex other
// than BarCount - 1.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_sdk.h"
#include "sim/sim_host.h"

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

  s_sc& record() noexcept { return sc_; }
  // The binding keeps an instance of the study (its persistent pointer is set): true until a
  // removal call released it.
  bool holdsBindingState() const noexcept { return binding_pointer_ != nullptr; }
  // Requests started and not yet answered: the next answer carries the oldest one's id.
  std::size_t unansweredRequests() const noexcept { return unanswered_.size(); }
  SimHost& sim() noexcept { return sim_; }

 private:
  friend struct PlatformOps;  // the record's operations (platform_record_ops.cpp)
  struct InputMark;

  static PlatformRecord* current() noexcept;  // the record in a call, else the newest
  static void callThrough(StudyHost& host);
  void call();
  void present();
  void takeBack();
  void presentInputs();
  void takeBackInputs();
  void presentSubgraphs();
  void takeBackSubgraphs();
  void release() noexcept;

  SimHost& sim_;
  PlatformStudyFunction study_;
  s_sc sc_;
  std::unique_ptr<s_SCInput_145[]> inputs_;
  std::unique_ptr<s_SCSubgraph_260[]> subgraphs_;
  std::vector<InputMark> marks_;
  std::map<std::int32_t, std::string> options_set_;  // option lists written in this call
  std::vector<SCDateTime> bar_times_;
  const DateTime* bar_source_ = nullptr;
  std::int32_t bar_source_count_ = -1;

  std::map<std::int32_t, SCString> texts_;
  std::map<std::int32_t, SCDateTime> date_times_;
  std::set<std::int32_t> texts_used_;
  std::map<std::int32_t, void*> pointers_;
  std::set<std::int32_t> pointers_used_;
  void* binding_pointer_ = nullptr;

  std::deque<std::int32_t> unanswered_;
  std::int32_t next_request_id_ = 1;
  std::set<std::int32_t> user_drawn_;

  PlatformRecord* previous_ = nullptr;  // the next older record alive on this thread
  bool in_call_ = false;
};

}  // namespace ostrel::sim

// The platform's side of a PlatformRecord: the record itself, in storage of its own, and what the
// simulated platform keeps beside it. Internal to the platform simulator (sim/platform_record*),
// the only sim/ files that include the SDK.
//
// The record is constructed in zeroed storage, so that the function pointers the simulator does
// not serve stay null; the inputs, subgraphs and bar times are the simulator's own arrays, which
// the record's wrappers point at. present() writes the SimHost's state into the record through
// the SDK's setters before a call; takeBack() reads what the study left there through the
// getters after it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_sdk.h"
#include "sim/platform_record.h"

namespace ostrel::sim {

// What a platform input held when the call began, to see what the study changed.
struct InputMark {
  unsigned char type = 0;
  unsigned char value[16] = {};
};

struct PlatformRecord::State {
  explicit State(SimHost& sim);
  ~State();
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  void present();
  void takeBack();

  SimHost& sim;
  s_sc* sc = nullptr;
  std::unique_ptr<s_SCInput_145[]> inputs;
  std::unique_ptr<s_SCSubgraph_260[]> subgraphs;
  std::vector<InputMark> marks;
  std::map<std::int32_t, std::string> options_set;  // option lists written in this call
  std::vector<SCDateTime> bar_times;
  const DateTime* bar_source = nullptr;
  std::int32_t bar_source_count = -1;

  std::map<std::int32_t, SCString> texts;
  std::map<std::int32_t, SCDateTime> date_times;
  std::set<std::int32_t> texts_used;
  std::map<std::int32_t, void*> pointers;
  std::set<std::int32_t> pointers_used;
  void* binding_pointer = nullptr;

  std::deque<std::int32_t> unanswered;
  std::int32_t next_request_id = 1;
  std::set<std::int32_t> user_drawn;

 private:
  void presentInputs();
  void takeBackInputs();
  void presentSubgraphs();
  void takeBackSubgraphs();
};

// The SimHost's value of one input written into a platform input through the SDK's setters, as
// the settings dialog would (nothing is written when the input already holds it).
void presentInput(const StudyInput& from, s_SCInput_145& to);
// What a platform input holds, read through the SDK's getters into a SimHost slot.
void takeBackInput(s_SCInput_145& from, StudyInput& to);

}  // namespace ostrel::sim

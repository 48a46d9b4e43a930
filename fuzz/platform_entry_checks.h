// EntryChecks: what the platform entry's fuzz target checks after every call, the soak's checks
// that apply to a record in any state (soak/invariants.h, soak/hidden_check.h) and the
// lifecycle of the binding's instance:
// - the API key in no log line (while the key input holds it); every drawing of the study
//   accounted for in a slot, the user's drawing kept, drawn prices finite; stored values only
//   under the study state's keys;
// - premiums usable (unless the binding refused the record: the study never saw it);
// - a hidden call leaves no drawing and sends nothing; a defaults call draws, removes and sends
//   nothing;
// - after a last call the binding holds no instance and (unless refused) no drawing of the
//   study is left and both profile records are released.
// Every problem is kept with its call number; the first one is the reproducer's story.
#pragma once

#include <cstdint>
#include <string>

#include "sim/sim_host.h"
#include "soak/hidden_check.h"
#include "soak/invariants.h"
#include "soak/violations.h"

namespace ostrel::fuzz {

// What the call was, as the binding saw it.
struct CallKind {
  bool defaults = false;  // the defaults call (not a last call carrying the defaults flag)
  bool last = false;
  bool hidden = false;
  bool swept = false;    // a full recalculation whose sweep can reach every stale drawing
  bool refused = false;  // the record had too few inputs or subgraphs for the binding
};

class EntryChecks {
 public:
  EntryChecks(const char* api_key, std::int32_t user_drawing);

  void afterCall(sim::SimHost& chart, const sim::CallRecord& rec, const CallKind& kind,
                 soak::HeldRecords before, bool binding_holds_instance, long call);
  bool ok() const noexcept { return violations_.count() == 0; }
  std::string firstProblem() const;

 private:
  const char* api_key_;
  soak::SoakViolations violations_;
  soak::CheckContext ctx_;
  std::string name_ = "fuzz";
  soak::DrawingInvariant drawings_;
  soak::ReportOnce keys_;
  soak::ReportOnce premiums_;
  soak::ReportOnce hidden_;
};

}  // namespace ostrel::fuzz

// What a call of the hidden study (IsSuspended) must leave, checked right after it:
// - no drawing of the study on the chart (the user's own stay) and no drawing slot recorded;
// - nothing sent: no request started, no futures conversion;
// - the profile records kept: both stored pointers as they were before the call.
// The answer such a call brings must still be taken; the request ledger checks that, and that
// requests resume once the study is shown again.
#pragma once

#include "sim/sim_host.h"
#include "soak/invariants.h"
#include "soak/violations.h"

namespace ostrel::soak {

// The profile records' stored pointers (null where absent).
struct HeldRecords {
  void* gex = nullptr;
  void* greek = nullptr;
};
HeldRecords heldRecords(const sim::SimHost& chart);

void checkHiddenCall(const sim::SimHost& chart, const sim::CallRecord& call, HeldRecords before,
                     const CheckContext& ctx, ReportOnce& once);

}  // namespace ostrel::soak

// The bound on how long a host-carried request (profile or majors history) may stay pending.
//
// The host delivers each answer once, in a later call. An answer that never comes (lost by the
// host, or taken by a call in which the study could not handle it) would otherwise keep the
// request pending for good, and a pending request blocks every later profile request. A request
// still pending kPendingLimit (10 minutes, far longer than any answer takes) after it was
// started counts as failed: a profile request is sent again when the interval allows, a
// history request is not asked for again until the next full recalculation. Each expiry is
// logged with flag 0.
//
// The start times are the stored last_profile_request and last_history_request. A start time
// later than now (the chart's clock went back) or missing (0) is moved to now, so the bound
// counts from there. A call that brings an answer never expires anything: the answer belongs
// to the pending request. A host without a time store gets no bound.
#pragma once

#include "host/study_host.h"
#include "service/market_clock.h"

namespace ostrel {

constexpr DateTime kPendingLimit = 10 * kMicrosPerMinute;

void expireStalePending(StudyHost& host);

}  // namespace ostrel

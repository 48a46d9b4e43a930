// scheduleRequests: one scheduling step per update call. It creates the profile records when
// absent, restarts the request cycle on a full recalculation, sends the majors history request
// once per full recalculation and takes in its answer, runs the futures conversion when a
// target is set, sends the profile request when the window is open and the interval has
// passed, and takes in the profile answer: parse, then draw (filled), clear the drawings
// (retry) or halt until the next full recalculation (halt).
//
// The profile and history requests share the host's one answer channel: neither starts while
// the other is pending, and an answer belongs to whichever is pending (history first).
// Halted requests stay halted until a full recalculation; the futures conversion ignores both
// the halt and the window. A request left pending far longer than any answer takes counts as
// failed (pending_limit.h).
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "service/profile_url.h"

namespace ostrel {

struct ScheduleArgs {
  // The profile URL's package and kind indices (buildProfileUrl); the URL itself is composed
  // only when a profile request goes out, not on every call.
  std::int32_t package;
  std::int32_t kind;
  const char* api_key;         // as entered
  const char* ticker;          // normalised
  const char* futures_target;  // normalised; "" disables the conversion
  std::int32_t interval_seconds;
  float additive;
  float multiplicative;  // already repaired to > 0
  ProfileFamily family;
  bool window_open;
};

// May throw std::bad_alloc from the parsers or the render pass; the study entry catches it.
void scheduleRequests(StudyHost& host, const ScheduleArgs& args, std::int32_t& drawingKey);

// The answer that a suspended call brings: nothing is requested or drawn in such a call, but
// the host delivers each answer only once, and one left untaken would keep its request pending.
// A majors history answer is parsed as in any call (it writes subgraph values only); a profile
// answer is dropped, leaving profile_state Done, so the next request goes out when the interval
// has passed. May throw std::bad_alloc from the history parser.
void takeAnswerWhileSuspended(StudyHost& host, float additive, float multiplicative);

}  // namespace ostrel

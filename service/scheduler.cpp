#include "service/scheduler.h"

#include <cstring>

#include "host/host_calls.h"
#include "model/parse_gex_profile.h"
#include "model/parse_greek_profile.h"
#include "model/parse_majors_history.h"
#include "render/drawing_cleanup.h"
#include "render/render_levels.h"
#include "service/futures_conversion.h"
#include "service/history_range.h"
#include "service/pending_limit.h"
#include "service/polling_interval.h"
#include "service/profile_answer.h"
#include "service/profile_records.h"
#include "service/service_requests.h"
#include "study/state_keys.h"

namespace ostrel {

namespace {

bool hasText(const char* text) noexcept { return text != nullptr && *text != '\0'; }

std::int32_t state(StudyHost& host, std::int32_t k) { return host::storedInt(host, k); }

bool halted(StudyHost& host) { return state(host, key::requests_halted) != 0; }

// True when the history request was started in this call.
bool requestHistory(StudyHost& host, const ScheduleArgs& args) {
  if (state(host, key::history_state) != Due || halted(host) ||
      state(host, key::profile_state) == Pending) {
    return false;  // stays Due; tried again on a later call
  }
  const UnixRange range = historyRangeSeconds(host);
  if (range.start < range.end) {
    sendMajorsHistoryRequest(host, args.ticker, args.api_key, range.start, range.end);
    return state(host, key::history_state) == Pending;
  }
  host::setStoredInt(host, key::history_state, Done);
  return false;
}

// An answer the host hands over in the very call that started the history request cannot be
// the history's (the host answers in a later call): it is the answer of a profile request that
// a full recalculation overtook, and is left alone, so that the history waits for its own.
void takeHistoryAnswer(StudyHost& host, float additive, float multiplicative, bool sent_now) {
  if (state(host, key::history_state) != Pending || host.ResponseReady == 0 || sent_now) return;
  const char* text = host.ResponseText;
  if (hasText(text) && std::strcmp(text, "HTTP_REQUEST_ERROR") != 0) {
    parseMajorsHistory(host, &host.ResponseText, additive, multiplicative);
  }
  host::setStoredInt(host, key::history_state, Done);
}

void applyOutcome(StudyHost& host, ParseOutcome outcome, const ScheduleArgs& args,
                  std::int32_t& drawingKey) {
  switch (outcome) {
    case ParseOutcome::filled:
      host.RecalcFromBar = 0;
      renderLevels(host, drawingKey, gexRecord(host), greekRecord(host), args.additive,
                   args.multiplicative);
      break;
    case ParseOutcome::halt:
      removeAllDrawings(host);
      host::setStoredInt(host, key::requests_halted, 1);
      break;
    case ParseOutcome::retry:
    default: removeAllDrawings(host); break;
  }
}

void parseProfile(StudyHost& host, const ScheduleArgs& args, std::int32_t& drawingKey) {
  if (host.BarCount <= 0 || host.RecalcFromBar >= host.BarCount) return;
  if (!hasText(host.ResponseText)) return;
  // A halt that arrived while the request was in flight drops the answer.
  if (halted(host)) return;
  const ParseOutcome outcome = args.family == ProfileFamily::Greek
                                   ? parseGreekProfile(host, &host.ResponseText, greekRecord(host))
                                   : parseGexProfile(host, &host.ResponseText, gexRecord(host));
  applyOutcome(host, outcome, args, drawingKey);
}

// True when the call may go on to the answer of a pending profile request.
bool requestProfile(StudyHost& host, const ScheduleArgs& args) {
  if (!args.window_open || state(host, key::history_state) == Pending) return true;
  if (halted(host)) return false;
  if (state(host, key::profile_state) == Pending) return true;
  const DateTime last = host::storedTime(host, key::last_profile_request);
  if (!profileRequestDue(host.CurrentTime, last, args.interval_seconds)) return false;
  clearProfileRecords(host);
  host::setStoredInt(host, key::profile_state, Due);
  host::setStoredTime(host, key::last_profile_request, host.CurrentTime);
  const ProfileUrl profile = buildProfileUrl(args.ticker, args.package, args.kind);
  sendProfileRequest(host, profile.url.c_str(), args.api_key);
  return false;
}

}  // namespace

void scheduleRequests(StudyHost& host, const ScheduleArgs& args, std::int32_t& drawingKey) {
  ensureProfileRecords(host);

  if (host.IsFullRecalc != 0) {
    host::setStoredInt(host, key::requests_halted, 0);
    host::setStoredInt(host, key::profile_state, Due);
    host::setStoredInt(host, key::history_state, Due);
  }

  expireStalePending(host);
  const bool history_sent = requestHistory(host, args);
  takeHistoryAnswer(host, args.additive, args.multiplicative, history_sent);

  if (hasText(args.futures_target)) {
    updateFuturesConversion(host, args.ticker, args.futures_target, args.api_key);
  }

  if (!requestProfile(host, args)) return;

  if (host.ResponseReady == 0 || state(host, key::profile_state) != Pending) return;
  if (handleProfileAnswer(host)) return;
  parseProfile(host, args, drawingKey);
}

void takeAnswerWhileSuspended(StudyHost& host, float additive, float multiplicative) {
  if (host.ResponseReady == 0) return;
  if (state(host, key::history_state) == Pending) {
    takeHistoryAnswer(host, additive, multiplicative, /*sent_now=*/false);
  } else if (state(host, key::profile_state) == Pending) {
    host::setStoredInt(host, key::profile_state, Done);
  }
}

}  // namespace ostrel

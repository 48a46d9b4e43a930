#include "service/scheduler.h"

#include <cstring>

#include "host/host_calls.h"
#include "host/out_of_memory.h"
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

// What each step gives up when memory runs out, and when it is tried again.
constexpr const char* kRecordsLost =
    "Ostrel: out of memory; the profile records could not be created. Trying again on the next "
    "update.";
constexpr const char* kHistoryRequestLost =
    "Ostrel: out of memory; the majors history request was not sent. Trying again on the next "
    "update.";
constexpr const char* kHistoryAnswerLost =
    "Ostrel: out of memory; the majors history answer was dropped. Asking again on the next "
    "update.";
constexpr const char* kConversionLost =
    "Ostrel: out of memory; the futures conversion was given up. It is asked again at its next "
    "trigger, within 15 minutes.";
constexpr const char* kProfileRequestLost =
    "Ostrel: out of memory; the profile request was not sent. Trying again at the next interval.";
constexpr const char* kProfileAnswerLost =
    "Ostrel: out of memory; the profile answer was dropped. Asking again at the next interval.";
constexpr const char* kRenderLost =
    "Ostrel: out of memory; the profile was drawn only in part. It is drawn again with the next "
    "answer.";

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

// The history answer, or when memory runs out on the way, the request asked again: a full
// recalculation asks for it only once, so a dropped answer would leave the day without it.
void takeHistoryAnswerStep(StudyHost& host, float additive, float multiplicative, bool sent_now) {
  if (!runStep(host, kHistoryAnswerLost,
               [&] { takeHistoryAnswer(host, additive, multiplicative, sent_now); })) {
    host::setStoredInt(host, key::history_state, Due);
  }
}

void applyOutcome(StudyHost& host, ParseOutcome outcome, const ScheduleArgs& args,
                  std::int32_t& drawingKey) {
  switch (outcome) {
    case ParseOutcome::filled:
      host.RecalcFromBar = 0;
      // The drawings placed before memory ran out are recorded; the next pass replaces them.
      runStep(host, kRenderLost, [&] {
        renderLevels(host, drawingKey, gexRecord(host), greekRecord(host), args.additive,
                     args.multiplicative);
      });
      break;
    case ParseOutcome::halt:
      removeAllDrawings(host);
      host::setStoredInt(host, key::requests_halted, 1);
      break;
    case ParseOutcome::retry:
    default: removeAllDrawings(host); break;
  }
}

// Throws std::bad_alloc from the parsers (the record is left cleared).
bool parseProfile(StudyHost& host, const ScheduleArgs& args, ParseOutcome& outcome) {
  if (host.BarCount <= 0 || host.RecalcFromBar >= host.BarCount) return false;
  if (!hasText(host.ResponseText)) return false;
  // A halt that arrived while the request was in flight drops the answer.
  if (halted(host)) return false;
  outcome = args.family == ProfileFamily::Greek
                ? parseGreekProfile(host, &host.ResponseText, greekRecord(host))
                : parseGexProfile(host, &host.ResponseText, gexRecord(host));
  return true;
}

// The answer to the pending profile request. Running out of memory drops it as a broken answer
// is dropped (profile_state is Done already): nothing is drawn, and the next request goes out
// when the interval has passed.
void takeProfileAnswer(StudyHost& host, const ScheduleArgs& args, std::int32_t& drawingKey) {
  bool parsed = false;
  ParseOutcome outcome = ParseOutcome::retry;
  const bool whole = runStep(host, kProfileAnswerLost, [&] {
    if (handleProfileAnswer(host)) return;
    parsed = parseProfile(host, args, outcome);
  });
  if (!whole) {
    host::setStoredInt(host, key::profile_state, Done);
    removeAllDrawings(host);
    return;
  }
  if (parsed) applyOutcome(host, outcome, args, drawingKey);
}

// True when the call may go on to the answer of a pending profile request.
bool requestProfile(StudyHost& host, const ScheduleArgs& args) {
  if (!args.window_open || state(host, key::history_state) == Pending) return true;
  if (halted(host)) return false;
  if (state(host, key::profile_state) == Pending) return true;
  const DateTime last = host::storedTime(host, key::last_profile_request);
  if (!profileRequestDue(host.CurrentTime, last, args.interval_seconds)) return false;
  // Composed first: running out of memory for it leaves the state as it was.
  const ProfileUrl profile = buildProfileUrl(args.ticker, args.package, args.kind);
  requireText(profile.url);
  clearProfileRecords(host);
  host::setStoredInt(host, key::profile_state, Due);
  host::setStoredTime(host, key::last_profile_request, host.CurrentTime);
  sendProfileRequest(host, profile.url.c_str(), args.api_key);
  return false;
}

}  // namespace

// Each step that runs out of memory ends alone (runStep logs what it gave up), leaving its
// request state so that nothing waits for an answer that will not be handled; the steps after
// it do not depend on it and go on.
void scheduleRequests(StudyHost& host, const ScheduleArgs& args, std::int32_t& drawingKey) {
  const bool records = ensureProfileRecords(host);
  if (!records) host::logMessage(host, kRecordsLost, 1);

  if (host.IsFullRecalc != 0) {
    host::setStoredInt(host, key::requests_halted, 0);
    host::setStoredInt(host, key::profile_state, Due);
    host::setStoredInt(host, key::history_state, Due);
  }

  expireStalePending(host);
  bool history_sent = false;
  runStep(host, kHistoryRequestLost, [&] { history_sent = requestHistory(host, args); });
  takeHistoryAnswerStep(host, args.additive, args.multiplicative, history_sent);

  if (hasText(args.futures_target)) {
    // Not asked again at once: the request blocks the platform's thread, and memory may stay
    // short for a while. Its next trigger asks (the next call, when it failed before asking).
    runStep(host, kConversionLost,
            [&] { updateFuturesConversion(host, args.ticker, args.futures_target, args.api_key); });
  }

  if (!records) {
    // No record to parse into: an answer that arrives is dropped, not left pending.
    if (host.ResponseReady != 0 && state(host, key::profile_state) == Pending) {
      host::setStoredInt(host, key::profile_state, Done);
    }
    return;
  }

  bool go_on = false;
  runStep(host, kProfileRequestLost, [&] { go_on = requestProfile(host, args); });
  if (!go_on) return;

  if (host.ResponseReady == 0 || state(host, key::profile_state) != Pending) return;
  takeProfileAnswer(host, args, drawingKey);
}

void takeAnswerWhileSuspended(StudyHost& host, float additive, float multiplicative) {
  if (host.ResponseReady == 0) return;
  if (state(host, key::history_state) == Pending) {
    takeHistoryAnswerStep(host, additive, multiplicative, /*sent_now=*/false);
  } else if (state(host, key::profile_state) == Pending) {
    host::setStoredInt(host, key::profile_state, Done);
  }
}

}  // namespace ostrel

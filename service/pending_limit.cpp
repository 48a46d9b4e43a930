#include "service/pending_limit.h"

#include <cstdint>
#include <limits>

#include "host/host_calls.h"
#include "study/state_keys.h"

namespace ostrel {
namespace {

// True when the request started at stored time `started_key` has been pending too long.
bool pendingTooLong(StudyHost& host, std::int32_t started_key) {
  const DateTime now = host.CurrentTime;
  const DateTime started = host::storedTime(host, started_key);
  if (started == 0 || now < started) {
    host::setStoredTime(host, started_key, now);
    return false;
  }
  // now >= started; only a negative start can push the difference past 2^63.
  if (started < 0 && now > std::numeric_limits<DateTime>::max() + started) return true;
  return now - started >= kPendingLimit;
}

}  // namespace

void expireStalePending(StudyHost& host) {
  if (host.ResponseReady != 0 || host.Ops.StoredTime == nullptr) return;
  if (host::storedInt(host, key::history_state) == Pending &&
      pendingTooLong(host, key::last_history_request)) {
    host::logMessage(host, "Ostrel: No answer to the Majors history request after 10 minutes.", 0);
    host::setStoredInt(host, key::history_state, Done);
  }
  if (host::storedInt(host, key::profile_state) == Pending &&
      pendingTooLong(host, key::last_profile_request)) {
    host::logMessage(host, "Ostrel: No answer to the profile request after 10 minutes.", 0);
    host::setStoredInt(host, key::profile_state, Failed);
  }
}

}  // namespace ostrel

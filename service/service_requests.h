// The two host-carried requests to the data service. The host starts them and delivers the
// answer in a later call (ResponseReady / ResponseText); they share that one answer channel, so
// the scheduler never has both pending.
//
// Both authenticate with "Basic <API key as entered>" (no encoding; an empty key still sends
// "Basic "). The key goes into the header only, never into a log line.
#pragma once

#include <cstdint>

#include "host/host_string.h"
#include "host/study_host.h"

namespace ostrel {

constexpr const char* kPluginVersion = "v2.2026.03.05";

// Profile request: GET-style, no body, headers User-Agent, X-ostrel-plugin, Authorization,
// Accept. Started: profile_state Pending; refused: "Error making HTTP Request." (flag 1) and
// profile_state Failed. Throws std::bad_alloc, before anything is sent or stored, when a text
// of the request (an empty `url` among them) could not be stored.
void sendProfileRequest(StudyHost& host, const char* url, const char* api_key);

// {"start": S, "end": E}: seconds since 1970-01-01 UTC in decimal, nothing else.
HostString formatHistoryBody(std::int64_t start_seconds, std::int64_t end_seconds) noexcept;

// Majors history request for the day's range: headers Authorization, Accept, Content-Type,
// X-ostrel-plugin, User-Agent. Started: history_state Pending and last_history_request set to
// CurrentTime; refused: "Ostrel: Error sending
// Majors history request." (flag 1) and history_state Done, so it is not asked for again until
// the next full recalculation. Throws std::bad_alloc as sendProfileRequest does.
void sendMajorsHistoryRequest(StudyHost& host, const char* ticker, const char* api_key,
                              std::int64_t start_seconds, std::int64_t end_seconds);

}  // namespace ostrel

// handleProfileAnswer: takes in the answer to the pending profile request (ResponseReady set,
// profile_state Pending) and leaves profile_state Done in every case.
//
// - null or empty text: nothing logged;
// - "HTTP_REQUEST_ERROR" / "EMPTY_RESPONSE" (the host's sentinels): "There was an error
//   requesting data from the server." (flag 1), both records cleared; for "EMPTY_RESPONSE" with
//   RecalcFromBar 0 also "There are no Ostrel levels for the given parameters." (flag 0);
// - a JSON object whose "error" string contains "Unknown ticker symbol": "Ostrel API Error: %s.
//   Halting requests." (flag 1), requests_halted set, and the answer is not parsed further;
// - anything else (not JSON, not an object, other errors) is left to the profile parser.
// Returns true when requests were halted.
#pragma once

#include "host/study_host.h"

namespace ostrel {

bool handleProfileAnswer(StudyHost& host);

// True for a JSON object root holding an "error" string that contains "Unknown ticker symbol";
// `error` then holds that string. Any byte sequence is safe.
bool isUnknownTickerAnswer(const char* text, HostString& error);

}  // namespace ostrel

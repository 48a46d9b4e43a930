// Futures conversion: keeps the two premium inputs in step with the service's conversion from
// the underlying's prices to the futures contract's (price * multiplier + additive).
//
// updateFuturesConversion runs on every scheduling step while a futures target is set. It sends
// a blocking request at the daily 09:30 and 09:32 New York triggers (weekdays, re-armed before
// 09:00), every 15 minutes after the last request (at once when the chart's clock went back
// before it), and whenever the ticker or the target changed; the answer overwrites both premium
// inputs as floats. Texts from the service appear in the log lines as logExcerpt shows them.
#pragma once

#include "host/study_host.h"

namespace ostrel {

// `ticker` and `futures_target` are normalised (trimmed, upper-cased); `api_key` as entered.
// Throws std::bad_alloc when memory runs out for the stored ticker and target or for parsing
// the answer: the request's time is kept, so the next trigger asks again (the next call, when
// memory ran out before the request went out).
void updateFuturesConversion(StudyHost& host, const char* ticker, const char* futures_target,
                             const char* api_key);

// Handles the body of a status-200 answer: logs the outcome and, on success, overwrites the
// premium inputs. Nothing changes on a parse error or an "error" answer. Throws std::bad_alloc
// when memory runs out for the parse.
void parseFuturesConversion(StudyHost& host, const char* body, const char* futures_target);

}  // namespace ostrel

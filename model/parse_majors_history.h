// parseMajorsHistory: writes the day's history of the major call, major put and zero-gamma
// levels into subgraphs 0, 1 and 2 at the bars their timestamps fall in, converted as
// v * multiplier + additive in single precision, and lowers EarliestChangedBar to the earliest
// bar a point landed in.
//
// Returns 0 for an array root (whatever it holds) or an object carrying "timestamp"; 2 for
// anything else (parse error, error answer, other root). Nothing is kept between calls.
//
// A point is skipped unless it is a non-empty object with an int64 "timestamp" (Unix seconds)
// whose date-time (t * 1,000,000 + 25,569 days; 0 stays 0) fits in int64 and lands in a bar
// 0 .. BarCount-1 (ZoneTimeToHost with "UTC+00", then BarIndexAt). A landed point counts
// toward EarliestChangedBar even when it writes nothing; each level that is a number is written,
// the others are left as they were. A host without subgraphs gets no writes.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

std::int32_t parseMajorsHistory(StudyHost& host, const char* const* response_text, float additive,
                                float multiplier);

}  // namespace ostrel

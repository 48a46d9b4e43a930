// The two profile records of a study instance (GexData, GreekData), owned by the study state
// through the stored pointers p_gex_data and p_greek_data. Only these functions create or free
// them, so a stored pointer is always either absent or one of ours.
//
// A record that cannot be allocated stays absent, and the next call tries to create it again;
// the scheduler sends no profile request meanwhile (one answered into no record would halt).
#pragma once

#include "host/study_host.h"
#include "model/gex_data.h"
#include "model/greek_data.h"

namespace ostrel {

GexData* gexRecord(StudyHost& host);
GreekData* greekRecord(StudyHost& host);

// Creates each absent record empty and stores it, GEX first. False when memory ran out for one.
bool ensureProfileRecords(StudyHost& host);

// Empties both records that exist.
void clearProfileRecords(StudyHost& host);

// Frees both records and sets their stored pointers absent, GEX first. Safe to repeat.
void releaseProfileRecords(StudyHost& host);

}  // namespace ostrel

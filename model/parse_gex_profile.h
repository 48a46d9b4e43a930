// parseGexProfile: fills a GexData from the service's GEX profile answer, or recognises an
// error answer.
//
// `response_text` is the address of the host's answer pointer; a null pointer (or a null text)
// reads as the empty text. A null record logs "Ostrel: p_gex_data is null." and halts without
// parsing. Otherwise the record is cleared first, so every outcome but `filled` leaves it empty.
// Any byte sequence gives a defined outcome; service texts are logged only as %s arguments.
//
// Shapes the service never sends are read as absent, so a bad part costs only itself: a
// "strikes" or "max_priors" that is not an array means none; a strike entry that is not an array
// of at least four elements, or a "max_priors" entry shorter than two, is skipped whole; an
// element 3 that is not an array means no priors for that strike; a "ticker" that is not a string
// is empty; a number field or prior holding anything but a number (string, array, object, null,
// true, false) reads 0. A memory failure while filling clears the record, logs the parse-error
// line and answers retry.
#pragma once

#include "host/study_host.h"
#include "model/gex_data.h"
#include "model/parse_outcome.h"

namespace ostrel {

ParseOutcome parseGexProfile(StudyHost& host, const char* const* response_text,
                             GexData* p_gex_data);

}  // namespace ostrel

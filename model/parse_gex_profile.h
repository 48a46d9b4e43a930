// parseGexProfile: fills a GexData from the service's GEX profile answer, or recognises an
// error answer.
//
// `response_text` is the address of the host's answer pointer; a null pointer (or a null text)
// reads as the empty text. A null record logs "Ostrel: p_gex_data is null." and halts without
// parsing. Otherwise the record is cleared first, so every outcome but `filled` leaves it empty.
// Any byte sequence gives a defined outcome; service texts are logged only as %s arguments.
#pragma once

#include "host/study_host.h"
#include "model/gex_data.h"
#include "model/parse_outcome.h"

namespace ostrel {

ParseOutcome parseGexProfile(StudyHost& host, const char* const* response_text,
                             GexData* p_gex_data);

}  // namespace ostrel

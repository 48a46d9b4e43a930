// The checks that the GEX and Greek profile parsers share, in their order: parse the text, look
// at the root, recognise the service's error answers, and require a 32-bit "timestamp".
//
// - Any parse error (the empty or null text included) logs `parse_error_text` with flag 0: retry.
// - A root that is not an object, or an object without members: retry, silently.
// - "message" equal, byte for byte, to "ERROR: Invalid API Key." logs "Ostrel API Error: %s
//   Halting requests." with flag 1: halt. Any other "message" is ignored.
// - "error" that is a string logs "Ostrel API Error: \"%s\". Retrying." with flag 1: retry, even
//   when the rest of the answer is a complete profile.
// - "timestamp" missing or not an integer in the int32 range: retry, silently.
// Service texts reach the log only as %s arguments. The first occurrence of a repeated key counts.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <new>

#include "host/host_calls.h"
#include "host/numeric.h"
#include "host/study_host.h"
#include "model/json_document.h"
#include "model/parse_outcome.h"

namespace ostrel {

// True when the answer is a profile to fill: `document` then holds it (root an object) and
// `timestamp` its timestamp. False with `outcome` set otherwise.
bool acceptProfileAnswer(StudyHost& host, const char* const* response_text,
                         const char* parse_error_text, json::JsonDocument& document,
                         ParseOutcome& outcome, std::int32_t& timestamp);

// The whole parse of one profile answer into `record`: a null record logs `null_record_text`
// (flag 1) and halts without parsing; otherwise the record is cleared, the answer checked as
// above and, when it is a profile, `fill(root, timestamp, record)` run. Running out of memory
// on the way clears the record and throws std::bad_alloc: it is no fault of the answer, whose
// request the caller asks again.
template <typename Record, typename Fill>
ParseOutcome parseProfileAnswer(StudyHost& host, const char* const* response_text, Record* record,
                                const char* null_record_text, const char* parse_error_text,
                                Fill fill) {
  if (record == nullptr) {
    host::logMessage(host, null_record_text, 1);
    return ParseOutcome::halt;
  }
  record->clear();
  json::JsonDocument document;
  ParseOutcome outcome = ParseOutcome::retry;
  std::int32_t timestamp = 0;
  if (!acceptProfileAnswer(host, response_text, parse_error_text, document, outcome, timestamp)) {
    return outcome;
  }
  try {
    fill(document.root(), timestamp, *record);
  } catch (const std::bad_alloc&) {
    record->clear();  // no half-filled profile is ever drawn
    throw;
  }
  return ParseOutcome::filled;
}

// A number member as the nearest float; absent or non-numeric members read 0.
float memberFloat(const json::Value& object, const char* name) noexcept;

// An array element as the nearest float; non-numeric elements read 0.
inline float elementFloat(const json::Value& array, std::size_t index) noexcept {
  return toFloat(json::readNumber(&json::arrayElement(array, index)));
}

// Raises `maximum` to |value| when that is strictly greater, so equal values change nothing.
inline void raiseMaximum(float& maximum, float value) noexcept {
  const float magnitude = std::fabs(value);
  if (magnitude > maximum) maximum = magnitude;
}

}  // namespace ostrel

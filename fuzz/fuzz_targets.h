// The fuzz entry points, shared by the libFuzzer targets (fuzz/*_fuzzer.cpp) and by the corpus
// replay in the unit tests, so every corpus file runs through exactly what the fuzzers run.
//
// Each entry hands the bytes to one parser as the host would (a NUL-terminated copy, so the
// parser sees them up to the first NUL) and then checks the parser's contract on the result.
// It returns false when a check fails; a fuzzer aborts on that, a test reports it.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_host.h"
#include "model/json_document.h"
#include "model/json_number_guard.h"
#include "model/parse_gex_profile.h"
#include "model/parse_greek_profile.h"
#include "model/parse_majors_history.h"
#include "service/futures_conversion.h"

namespace ostrel::fuzz {

inline std::string hostText(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A maximum after a fill is at least 0.001 and at least every magnitude it covers.
inline bool covers(float maximum, float value) {
  return maximum >= 0.001f && !(std::fabs(value) > maximum);
}

inline bool logOk(const FuzzHost& fh) { return !fh.bad_log && fh.log_lines <= 1; }

inline bool checkGexProfile(const std::uint8_t* data, std::size_t size) {
  FuzzHost fh;
  GexData record;
  record.spot = 1.0f;  // a fill or a failure must clear it
  const std::string text = hostText(data, size);
  const char* pointer = text.c_str();
  const ParseOutcome outcome = parseGexProfile(fh.host(), &pointer, &record);
  if (!logOk(fh)) return false;
  const std::size_t n = record.strike_prices.size();
  if (outcome != ParseOutcome::filled) {
    return record.timestamp == 0 && record.ticker.empty() && record.spot == 0.0f && n == 0 &&
           record.gex_vol.empty() && record.gex_oi.empty() && record.priors.empty() &&
           record.max_priors.empty() && record.max_abs_vol == 0.0f && record.max_abs_oi == 0.0f &&
           record.max_abs_all == 0.0f;
  }
  if (record.gex_vol.size() != n || record.gex_oi.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!covers(record.max_abs_vol, record.gex_vol[i])) return false;
    if (!covers(record.max_abs_oi, record.gex_oi[i])) return false;
  }
  for (float prior : record.priors) {
    if (!covers(record.max_abs_vol, prior)) return false;
  }
  if (record.max_abs_all < 0.001f) return false;
  if (record.max_abs_all > record.max_abs_vol && record.max_abs_all > record.max_abs_oi) {
    return false;
  }
  for (const auto& pair : record.max_priors) {
    if (pair.size() != 2) return false;
  }
  return true;
}

inline bool checkGreekProfile(const std::uint8_t* data, std::size_t size) {
  FuzzHost fh;
  GreekData record;
  record.spot = 1.0f;
  const std::string text = hostText(data, size);
  const char* pointer = text.c_str();
  const ParseOutcome outcome = parseGreekProfile(fh.host(), &pointer, &record);
  if (!logOk(fh)) return false;
  const std::size_t n = record.strike_prices.size();
  if (outcome != ParseOutcome::filled) {
    return record.timestamp == 0 && record.ticker.empty() && record.spot == 0.0f && n == 0 &&
           record.value1.empty() && record.value2.empty() && record.value3.empty() &&
           record.priors.empty() && record.max_abs_value == 0.0f;
  }
  if (record.value1.size() != n || record.value2.size() != n || record.value3.size() != n) {
    return false;
  }
  for (float value : record.value3) {
    if (!covers(record.max_abs_value, value)) return false;
  }
  for (float prior : record.priors) {
    if (!covers(record.max_abs_value, prior)) return false;
  }
  return record.max_abs_value >= 0.001f;
}

inline bool checkMajorsHistory(const std::uint8_t* data, std::size_t size) {
  FuzzHost fh;
  const std::string text = hostText(data, size);
  const char* pointer = text.c_str();
  const std::int32_t result = parseMajorsHistory(fh.host(), &pointer, 5.0f, 1.5f);
  if (!logOk(fh) || fh.bad_zone || (result != 0 && result != 2)) return false;
  const std::int32_t earliest = fh.host().EarliestChangedBar;
  if (earliest != -1 && (earliest < 0 || earliest >= FuzzHost::kBars || result != 0)) {
    return false;
  }
  // Every written bar lies at or after the earliest changed bar; nothing is written on 2.
  for (std::int32_t k = 0; k < FuzzHost::kSubgraphs; ++k) {
    for (std::int32_t bar = 0; bar < FuzzHost::kBars; ++bar) {
      if (fh.value(k, bar) != 0.0f && (earliest == -1 || bar < earliest)) return false;
    }
  }
  return true;
}

inline bool checkFuturesConversion(const std::uint8_t* data, std::size_t size) {
  FuzzHost fh;
  const std::string text = hostText(data, size);
  parseFuturesConversion(fh.host(), text.c_str(), "ES");
  if (!logOk(fh)) return false;
  const StudyInput& add = fh.input(in::kAdditivePremium);
  const StudyInput& mul = fh.input(in::kMultiplicativePremium);
  return add.type == InputType::kFloat && mul.type == InputType::kFloat &&
         std::isfinite(add.double_value) && std::isfinite(mul.double_value);
}

// Deepest bracket nesting outside strings; stops counting at `limit`.
inline int nestingDepth(const std::string& text, int limit) {
  int depth = 0;
  int deepest = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size() && text[i] != '\0' && deepest < limit; ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > deepest) deepest = depth;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// The guarded document accepts exactly what RapidJSON's default (recursive) parse accepts, for
// every text the reference parse can safely be run on: shallow, and free of the number defect.
inline bool checkJsonDocument(const std::uint8_t* data, std::size_t size) {
  const std::string text = hostText(data, size);
  json::JsonDocument document;
  const bool accepted = document.parse(text.c_str());
  const json::TextVerdict verdict = json::checkJsonText(text.c_str(), size + 1);
  if (verdict != json::TextVerdict::ok) return !accepted;
  if (nestingDepth(text, 200) >= 200) return true;
  json::Document reference;  // default flags: the recursive parser
  reference.Parse(text.c_str());
  if (reference.HasParseError() == accepted) return false;
  return !accepted || reference.GetType() == document.root().GetType();
}

}  // namespace ostrel::fuzz

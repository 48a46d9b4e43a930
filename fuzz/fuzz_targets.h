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
#include <cstring>
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

// Whether the reader refuses a token's integer part (its sign and integer digits), read on its
// own, as a number too big. Only that part matters to the refusal, so the reader itself answers
// it for the longer token.
inline bool integerPartTooBig(const std::string& integer) {
  if (integer.size() < 309) return false;  // below 10^308: always read
  json::Document reader;
  reader.Parse(integer.c_str());
  return reader.HasParseError() && reader.GetParseError() == rapidjson::kParseErrorNumberTooBig;
}

// The reference's reading of numbers too small for RapidJSON 1.1.0's exponent arithmetic, found
// independently of the product's scan: every number token outside strings (JSON's grammar,
// longest match) that has a negative exponent part and a magnitude below 10^-1000 is written
// over with "0.0" or "-0.0" and spaces. The reader gives every such number that double, except
// where its integer part alone is too big for the reader (it refuses a significand near DBL_MAX
// before it reads the exponent): such a token is left for the reader to refuse.
inline std::string zeroTinyNumbers(std::string text) {
  const auto digit = [&](std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
  };
  const std::size_t length = std::strlen(text.c_str());
  text.resize(length);
  std::size_t i = 0;
  while (i < length) {
    if (text[i] == '"') {
      for (++i; i < length && text[i] != '"'; ++i) {
        if (text[i] == '\\') ++i;
      }
      ++i;
      continue;
    }
    if (text[i] != '-' && !digit(i)) {
      ++i;
      continue;
    }
    const std::size_t begin = i;
    if (text[i] == '-') ++i;
    if (!digit(i)) continue;
    // Magnitude: 10^(lead + exponent) <= |value| < 10^(lead + exponent + 1); no digit but 0: zero.
    bool zero = true;
    std::int64_t lead = 0;
    if (text[i] == '0') {
      ++i;
    } else {
      zero = false;
      for (; digit(i); ++i) ++lead;
      --lead;
    }
    const std::size_t integer_end = i;
    if (i < length && text[i] == '.' && digit(i + 1)) {
      std::int64_t place = 0;
      for (++i; digit(i); ++i) {
        --place;
        if (zero && text[i] != '0') {
          zero = false;
          lead = place;
        }
      }
    }
    if (i >= length || (text[i] != 'e' && text[i] != 'E')) continue;
    const std::size_t e = i;
    ++i;
    const bool negative = i < length && text[i] == '-';
    if (i < length && (text[i] == '-' || text[i] == '+')) ++i;
    if (!digit(i)) {
      i = e + 1;
      continue;
    }
    std::int64_t exponent = 0;
    for (; digit(i); ++i) {
      if (exponent < 1000000000000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (!negative || (!zero && lead - exponent + 1 > -1000) || (zero && exponent < 1000)) continue;
    if (integerPartTooBig(text.substr(begin, integer_end - begin))) continue;
    std::size_t w = begin;
    if (text[w] == '-') ++w;
    text.replace(w, 3, "0.0");
    for (w += 3; w < i; ++w) text[w] = ' ';
  }
  return text;
}

// Same type, same numbers (integers by value, doubles bit for bit), same strings and the same
// members in the same order.
inline bool sameValue(const json::Value& a, const json::Value& b) {
  if (a.GetType() != b.GetType()) return false;
  if (a.IsNumber()) {
    if (a.IsInt64() != b.IsInt64() || a.IsUint64() != b.IsUint64() ||
        a.IsDouble() != b.IsDouble()) {
      return false;
    }
    if (a.IsInt64()) return a.GetInt64() == b.GetInt64();
    if (a.IsUint64()) return a.GetUint64() == b.GetUint64();
    const double x = a.GetDouble();
    const double y = b.GetDouble();
    return std::memcmp(&x, &y, sizeof x) == 0;
  }
  if (a.IsString()) {
    return a.GetStringLength() == b.GetStringLength() &&
           std::memcmp(a.GetString(), b.GetString(), a.GetStringLength()) == 0;
  }
  if (a.IsArray()) {
    if (a.Size() != b.Size()) return false;
    for (rapidjson::SizeType k = 0; k < a.Size(); ++k) {
      if (!sameValue(a[k], b[k])) return false;
    }
    return true;
  }
  if (a.IsObject()) {
    if (a.MemberCount() != b.MemberCount()) return false;
    for (auto m = a.MemberBegin(), n = b.MemberBegin(); m != a.MemberEnd(); ++m, ++n) {
      if (!sameValue(m->name, n->name) || !sameValue(m->value, n->value)) return false;
    }
    return true;
  }
  return a == b;  // null, true, false
}

// The guarded document reads every text exactly as RapidJSON's default (recursive) parse reads it
// with exact exponent arithmetic: the reference is run where it is safe (shallow, free of the
// number defect once tiny numbers are written as zeros), and must agree on acceptance and on
// every value.
inline bool checkJsonDocument(const std::uint8_t* data, std::size_t size) {
  const std::string text = hostText(data, size);
  json::JsonDocument document;
  const bool accepted = document.parse(text.c_str());
  const json::TextVerdict verdict = json::checkJsonText(text.c_str(), size + 1);
  if (verdict == json::TextVerdict::unsafe_number) return !accepted;
  const std::string reference_text = zeroTinyNumbers(text);
  // Only where the two scans split the text differently, which the reader refuses earlier.
  if (json::checkJsonText(reference_text.c_str(), size + 1) != json::TextVerdict::ok) {
    return !accepted;
  }
  json::Document reference;
  if (nestingDepth(text, 200) >= 200) {
    // Too deep for the recursive reference (and for comparing values by recursion): the
    // iterative reader, which accepts the same texts, and the root's type.
    reference.Parse<rapidjson::kParseIterativeFlag>(reference_text.c_str());
    if (reference.HasParseError() == accepted) return false;
    return !accepted || reference.GetType() == document.root().GetType();
  }
  reference.Parse(reference_text.c_str());  // default flags: the recursive reader
  if (reference.HasParseError() == accepted) return false;
  return !accepted || sameValue(document.root(), reference);
}

}  // namespace ostrel::fuzz

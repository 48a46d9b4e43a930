// The fuzz entry of the tools' UTF-8 repair and JSON string writing (jsonout/), shared by
// fuzz/utf8_repair_fuzzer.cpp and the corpus replay in the unit tests.
//
// Checks on any bytes: the repaired text is valid UTF-8 by RapidJSON's own validator, at most
// three bytes per input byte, unchanged by a second repair, equal to the input exactly when
// RapidJSON finds the input valid; written as a JSON string it parses back (with encoding
// checks) to the repaired text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/json_document.h"

#include <rapidjson/encodings.h>
#include <rapidjson/stream.h>

#include "jsonout/json_writer.h"
#include "jsonout/utf8_repair.h"

namespace ostrel::fuzz {

// RapidJSON's validator over exactly `length` bytes; `text` must have four readable bytes past
// the end (it reads a truncated sequence's missing continuation bytes before it fails).
struct DiscardOutput {
  void Put(char) {}
};

inline bool rapidjsonValidUtf8(const char* text, std::size_t length) {
  rapidjson::StringStream in(text);
  DiscardOutput sink;
  while (in.Tell() < length) {
    if (!rapidjson::UTF8<>::Validate(in, sink)) return false;
  }
  return in.Tell() == length;
}

inline bool checkUtf8Repair(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  input.append(4, '\0');  // the validator's read-ahead
  const char* text = input.c_str();
  const bool valid = rapidjsonValidUtf8(text, size);
  if (isValidUtf8(text, size) != valid) return false;

  std::string repaired;
  repairUtf8(text, size, repaired);
  if (repaired.size() > 3 * size || (repaired == input.substr(0, size)) != valid) return false;
  const std::size_t repaired_size = repaired.size();
  repaired.append(4, '\0');
  if (!rapidjsonValidUtf8(repaired.c_str(), repaired_size)) return false;
  repaired.resize(repaired_size);
  std::string again;
  repairUtf8(repaired.data(), repaired.size(), again);
  if (again != repaired) return false;

  JsonWriter writer(JsonWriter::Layout::one_line);
  writer.value(text, size);
  json::Document document;  // RapidJSON with the parse stack that has no undefined behaviour
  document.Parse<rapidjson::kParseValidateEncodingFlag>(writer.text().c_str(),
                                                        writer.text().size());
  return !document.HasParseError() && document.IsString() &&
         std::string(document.GetString(), document.GetStringLength()) == repaired;
}

}  // namespace ostrel::fuzz

// JsonWriter: a small streaming JSON writer for the mock's answers.
//
// Commas are placed automatically; keys are written only inside objects. Numbers are written
// with a fixed count of decimals and trailing zeros trimmed; a non-finite number is written as
// 0 so that an answer is always valid JSON. Strings are escaped (quotes, backslash, controls).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::mock {

class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  JsonWriter& key(const char* name);
  JsonWriter& number(double value, int decimals = 2);
  JsonWriter& integer(std::int64_t value);
  JsonWriter& string(const std::string& value);

  const std::string& text() const noexcept { return out_; }
  std::string take() noexcept { return std::move(out_); }

 private:
  void separate();
  void quoted(const std::string& value);
  std::string out_;
  std::vector<bool> first_;  // per open container: nothing written in it yet
  bool after_key_ = false;
};

// {"error": text} and {"message": text}, the service's error answers.
std::string errorBody(const std::string& text);
std::string messageBody(const std::string& text);

}  // namespace ostrel::mock

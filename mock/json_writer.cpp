#include "mock/json_writer.h"

#include <cmath>
#include <cstdio>

namespace ostrel::mock {

void JsonWriter::separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ", ";
    first_.back() = false;
  }
}

JsonWriter& JsonWriter::beginObject() {
  separate();
  out_ += '{';
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  out_ += '}';
  if (!first_.empty()) first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  separate();
  out_ += '[';
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  out_ += ']';
  if (!first_.empty()) first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::key(const char* name) {
  separate();
  quoted(name);
  out_ += ": ";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::number(double value, int decimals) {
  separate();
  if (!std::isfinite(value)) value = 0.0;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s(text);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  out_ += s;
  return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t value) {
  separate();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::string(const std::string& value) {
  separate();
  quoted(value);
  return *this;
}

void JsonWriter::quoted(const std::string& value) {
  out_ += '"';
  for (unsigned char c : value) {
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out_ += esc;
    } else {
      out_ += static_cast<char>(c);
    }
  }
  out_ += '"';
}

std::string errorBody(const std::string& text) {
  JsonWriter w;
  w.beginObject().key("error").string(text).endObject();
  return w.take();
}

std::string messageBody(const std::string& text) {
  JsonWriter w;
  w.beginObject().key("message").string(text).endObject();
  return w.take();
}

}  // namespace ostrel::mock

#include "sim/json_writer.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace ostrel::sim {
namespace {

// printf output made independent of the C runtime: a decimal comma (a non-C locale) becomes a
// point, and the exponent loses the leading zeros that some runtimes add ("e+007" -> "e+07").
std::string normaliseNumber(const char* printed) {
  std::string s(printed);
  for (char& c : s) {
    if (c == ',') c = '.';
  }
  const std::size_t e = s.find_first_of("eE");
  if (e == std::string::npos) return s;
  std::size_t digits = e + 1;
  if (digits < s.size() && (s[digits] == '+' || s[digits] == '-')) ++digits;
  while (s.size() - digits > 2 && s[digits] == '0') s.erase(digits, 1);
  return s;
}

std::string nonFinite(double value) {
  if (std::isnan(value)) return "\"nan\"";
  return value < 0 ? "\"-inf\"" : "\"inf\"";
}

}  // namespace

std::string floatToken(float value) {
  if (!std::isfinite(value)) return nonFinite(static_cast<double>(value));
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
  return normaliseNumber(buffer);
}

std::string doubleToken(double value) {
  if (!std::isfinite(value)) return nonFinite(value);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return normaliseNumber(buffer);
}

void appendJsonString(std::string& out, const char* text, std::size_t length) {
  static const char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20) {
      out.append("\\u00");
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
}

void JsonWriter::newline(std::size_t depth) {
  out_.push_back('\n');
  out_.append(depth * 2, ' ');
}

void JsonWriter::beforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (stack_.empty()) return;
  Frame& frame = stack_.back();
  if (!frame.empty) out_.push_back(',');
  if (frame.is_inline) {
    if (!frame.empty) out_.push_back(' ');
  } else {
    newline(stack_.size());
  }
  frame.empty = false;
}

void JsonWriter::open(char bracket, bool inline_container) {
  beforeValue();
  const bool parent_inline = !stack_.empty() && stack_.back().is_inline;
  out_.push_back(bracket);
  stack_.push_back(Frame{inline_container || parent_inline, true});
}

void JsonWriter::close(char bracket) {
  const Frame frame = stack_.back();
  stack_.pop_back();
  if (!frame.is_inline && !frame.empty) newline(stack_.size());
  out_.push_back(bracket);
  if (stack_.empty()) out_.push_back('\n');
}

void JsonWriter::beginObject(bool inline_container) { open('{', inline_container); }
void JsonWriter::endObject() { close('}'); }
void JsonWriter::beginArray(bool inline_container) { open('[', inline_container); }
void JsonWriter::endArray() { close(']'); }

void JsonWriter::key(const char* name) {
  beforeValue();
  appendJsonString(out_, name, std::strlen(name));
  out_.append(": ");
  after_key_ = true;
}

void JsonWriter::value(const std::string& text) {
  beforeValue();
  appendJsonString(out_, text.data(), text.size());
}

void JsonWriter::value(const char* text) {
  if (text == nullptr) {
    null();
    return;
  }
  beforeValue();
  appendJsonString(out_, text, std::strlen(text));
}

void JsonWriter::null() {
  beforeValue();
  out_.append("null");
}

void JsonWriter::boolean(bool flag) {
  beforeValue();
  out_.append(flag ? "true" : "false");
}

void JsonWriter::integer(std::int64_t number) {
  beforeValue();
  out_.append(std::to_string(number));
}

void JsonWriter::number(float value) {
  beforeValue();
  out_.append(floatToken(value));
}

void JsonWriter::numberDouble(double value) {
  beforeValue();
  out_.append(doubleToken(value));
}

}  // namespace ostrel::sim

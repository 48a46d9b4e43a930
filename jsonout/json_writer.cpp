#include "jsonout/json_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

// First: its parse stack replaces RapidJSON's for this allocator, also in the Writer's level
// stack (1.1.0's own does arithmetic on a null pointer on the first push).
#include "model/json_allocator.h"

#include <rapidjson/writer.h>

#include "jsonout/utf8_repair.h"

namespace ostrel {
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

// RapidJSON's output stream concept, appending to a string; a base of the Layouter so that it
// exists before the Writer that holds its address.
struct StringOutput {
  using Ch = char;
  std::string* out;
  void Put(char c) { out->push_back(c); }
  void Flush() {}
};
struct OutputHolder {
  StringOutput stream;
};

bool hasControl(const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x20) return true;
  }
  return false;
}

// The control character that RapidJSON's short escape `\kind` stands for; 0 for the others.
int shortEscaped(char kind) {
  switch (kind) {
    case 'b': return 0x08;
    case 't': return 0x09;
    case 'n': return 0x0A;
    case 'f': return 0x0C;
    case 'r': return 0x0D;
    default: return 0;
  }
}

// RapidJSON escapes some controls short (\n, \t, ...) and the others with uppercase hex; the
// output format has \u00xx with lowercase hex for all of them. Rewrites the escapes of the
// string token that starts at `from` (every backslash in it starts an escape).
void lowercaseControlEscapes(std::string& out, std::size_t from) {
  static const char kHex[] = "0123456789abcdef";
  std::string token;
  token.reserve(out.size() - from + 16);
  for (std::size_t i = from; i < out.size(); ++i) {
    if (out[i] != '\\' || i + 1 >= out.size()) {
      token.push_back(out[i]);
      continue;
    }
    const char kind = out[++i];
    if (const int code = shortEscaped(kind)) {
      token.append("\\u00");
      token.push_back(kHex[code >> 4]);
      token.push_back(kHex[code & 0xF]);
    } else if (kind == 'u') {
      token.append("\\u");
      for (std::size_t k = 0; k < 4 && i + 1 < out.size(); ++k) {
        const char digit = out[++i];
        token.push_back(digit >= 'A' && digit <= 'F' ? static_cast<char>(digit - 'A' + 'a')
                                                     : digit);
      }
    } else {
      token.push_back('\\');
      token.push_back(kind);
    }
  }
  out.replace(from, std::string::npos, token);
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

std::string fixedToken(double value, int decimals) {
  if (!std::isfinite(value)) return "0";
  char buffer[400];  // %f of the largest double has 309 digits before the point
  std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 17), value);
  std::string s = normaliseNumber(buffer);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

// RapidJSON's Writer with this format's layout in place of its compact one (the way its
// PrettyWriter extends it): the Writer keeps the level stack and checks the structure.
class JsonWriter::Layouter
    : private OutputHolder,
      public rapidjson::Writer<StringOutput, rapidjson::UTF8<>, rapidjson::UTF8<>,
                               json::ThrowingAllocator, rapidjson::kWriteValidateEncodingFlag> {
 public:
  Layouter(std::string& out, Layout layout)
      : OutputHolder{StringOutput{&out}}, Writer(OutputHolder::stream), layout_(layout) {}

  void open(bool array, bool inline_container) {
    prefix(array ? rapidjson::kArrayType : rapidjson::kObjectType);
    const bool parent_inline = !inline_.empty() && inline_.back();
    new (level_stack_.Push<Level>()) Level(array);
    inline_.push_back(inline_container || parent_inline || layout_ == Layout::one_line);
    os_->Put(array ? '[' : '{');
  }

  void close(bool array) {
    if (level_stack_.Empty() || level_stack_.Top<Level>()->inArray != array) {
      throw std::logic_error("JsonWriter: close without a matching open");
    }
    const Level* level = level_stack_.Pop<Level>(1);
    const bool is_inline = inline_.back();
    inline_.pop_back();
    if (!array && level->valueCount % 2 != 0) {
      throw std::logic_error("JsonWriter: key without value");
    }
    if (!is_inline && level->valueCount > 0) newline();
    os_->Put(array ? ']' : '}');
    if (level_stack_.Empty() && layout_ == Layout::lines) os_->Put('\n');
  }

  void string(const char* text, std::size_t length, std::string& out) {
    if (length > std::numeric_limits<rapidjson::SizeType>::max()) {
      throw std::length_error("JsonWriter: text too long");
    }
    prefix(rapidjson::kStringType);
    const std::size_t from = out.size();
    if (!WriteString(text, static_cast<rapidjson::SizeType>(length))) {
      throw std::logic_error("JsonWriter: text not UTF-8 after the repair");
    }
    if (hasControl(text, length)) lowercaseControlEscapes(out, from);
  }

  void rawValue(const std::string& token, rapidjson::Type type) {
    prefix(type);
    WriteRawValue(token.data(), token.size());
  }
  void null() {
    prefix(rapidjson::kNullType);
    WriteNull();
  }
  void boolean(bool flag) {
    prefix(flag ? rapidjson::kTrueType : rapidjson::kFalseType);
    WriteBool(flag);
  }
  void integer(std::int64_t number) {
    prefix(rapidjson::kNumberType);
    WriteInt64(number);
  }

 private:
  // Separator and line break before a value; `: ` after a key.
  void prefix(rapidjson::Type type) {
    if (level_stack_.Empty()) {
      if (hasRoot_) throw std::logic_error("JsonWriter: a second root");
      hasRoot_ = true;
      return;
    }
    Level* level = level_stack_.Top<Level>();
    const bool expects_key = !level->inArray && level->valueCount % 2 == 0;
    if (expects_key && type != rapidjson::kStringType) {
      throw std::logic_error("JsonWriter: object member without a key");
    }
    if (!level->inArray && !expects_key) {
      os_->Put(':');
      os_->Put(' ');
    } else {
      if (level->valueCount > 0) os_->Put(',');
      if (!inline_.back()) {
        newline();
      } else if (level->valueCount > 0) {
        os_->Put(' ');
      }
    }
    ++level->valueCount;
  }

  void newline() {
    os_->Put('\n');
    const std::size_t depth = level_stack_.GetSize() / sizeof(Level);
    for (std::size_t i = 0; i < depth * 2; ++i) os_->Put(' ');
  }

  Layout layout_;
  std::vector<bool> inline_;  // per open container
};

JsonWriter::JsonWriter(Layout layout) : writer_(std::make_unique<Layouter>(out_, layout)) {}
JsonWriter::~JsonWriter() = default;

JsonWriter& JsonWriter::beginObject(bool inline_container) {
  writer_->open(/*array=*/false, inline_container);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  writer_->close(/*array=*/false);
  return *this;
}

JsonWriter& JsonWriter::beginArray(bool inline_container) {
  writer_->open(/*array=*/true, inline_container);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  writer_->close(/*array=*/true);
  return *this;
}

JsonWriter& JsonWriter::key(const char* name) { return value(name, std::strlen(name)); }

JsonWriter& JsonWriter::value(const std::string& text) { return value(text.data(), text.size()); }

JsonWriter& JsonWriter::value(const char* text) {
  if (text == nullptr) return null();
  return value(text, std::strlen(text));
}

JsonWriter& JsonWriter::value(const char* text, std::size_t length) {
  if (isValidUtf8(text, length)) {
    writer_->string(text, length, out_);
  } else {
    repairUtf8(text, length, repaired_);
    writer_->string(repaired_.data(), repaired_.size(), out_);
  }
  return *this;
}

JsonWriter& JsonWriter::null() {
  writer_->null();
  return *this;
}

JsonWriter& JsonWriter::boolean(bool flag) {
  writer_->boolean(flag);
  return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t number) {
  writer_->integer(number);
  return *this;
}

JsonWriter& JsonWriter::number(float number) { return raw(floatToken(number)); }
JsonWriter& JsonWriter::numberDouble(double number) { return raw(doubleToken(number)); }
JsonWriter& JsonWriter::fixed(double number, int decimals) {
  return raw(fixedToken(number, decimals));
}

JsonWriter& JsonWriter::raw(const std::string& token) {
  // A non-finite value's token is a quoted string: written as one, so the key rule holds.
  const bool quoted = !token.empty() && token.front() == '"';
  writer_->rawValue(token, quoted ? rapidjson::kStringType : rapidjson::kNumberType);
  return *this;
}

}  // namespace ostrel

// JsonWriter: the JSON text of the simulator's outputs (traces, parse results), byte for byte
// the same on every platform and in every locale.
//
// Layout: containers are written one member per line with two-space indents, except those
// opened "inline" (and everything inside them), which stay on one line: `{"a": 1, "b": [2]}`.
// Numbers: floats with nine significant digits ("%.9g", so they read back as the same float),
// doubles with seventeen; exponents always have at least two digits ("1e+07", never "1e+007");
// a non-finite value is the string "inf", "-inf" or "nan". Strings: quote, backslash and
// control characters below 0x20 escaped (the latter as \u00XX); bytes >= 0x80 are copied as they
// are, so the output is UTF-8 only when the input was.
// The caller keeps the structure well-formed (a key before each object member).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::sim {

// The JSON token of a number: digits, or a quoted "inf" / "-inf" / "nan".
std::string floatToken(float value);
std::string doubleToken(double value);
// `text` quoted and escaped (length-based: embedded NULs become \u0000).
void appendJsonString(std::string& out, const char* text, std::size_t length);

class JsonWriter {
 public:
  void beginObject(bool inline_container = false);
  void endObject();
  void beginArray(bool inline_container = false);
  void endArray();
  void key(const char* name);

  void value(const std::string& text);
  void value(const char* text);  // null pointer: null
  void null();
  void boolean(bool flag);
  void integer(std::int64_t number);
  void number(float number);
  void numberDouble(double number);

  // The text written so far, ending with a newline once the outermost container is closed.
  const std::string& text() const noexcept { return out_; }

 private:
  struct Frame {
    bool is_inline = false;
    bool empty = true;
  };
  void beforeValue();
  void open(char bracket, bool inline_container);
  void close(char bracket);
  void newline(std::size_t depth);

  std::string out_;
  std::vector<Frame> stack_;
  bool after_key_ = false;
};

}  // namespace ostrel::sim

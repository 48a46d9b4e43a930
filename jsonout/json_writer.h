// JsonWriter: the JSON text of the tools' outputs (ostrel-sim's traces and parse reports, the
// mock service's answers), byte for byte the same on every platform and in every locale, and
// valid UTF-8 JSON whatever bytes the texts hold.
//
// Built on RapidJSON's Writer, which keeps the structure well-formed (a key before each object
// member, one root) and checks the encoding of every string it writes; every text passes the
// UTF-8 repair first (jsonout/utf8_repair.h: each maximal invalid subsequence becomes U+FFFD).
//
// Layout `lines` (traces): containers one member per line with two-space indents, except those
// opened inline (and everything inside them), which stay on one line: `{"a": 1, "b": [2]}`; the
// text ends with a newline. Layout `one_line` (service answers): everything inline, no newline.
// Strings: quote and backslash escaped, control characters below 0x20 as \u00xx (lowercase
// hex), everything else as it is. Numbers: floats with nine significant digits ("%.9g", so they
// read back as the same float), doubles with seventeen; exponents have at least two digits
// ("1e+07", never "1e+007"); a non-finite value is the string "inf", "-inf" or "nan". `fixed`
// writes a number with at most `decimals` decimals, trailing zeros trimmed, non-finite as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ostrel {

// The JSON token of a number: digits, or a quoted "inf" / "-inf" / "nan" (fixed: "0").
std::string floatToken(float value);
std::string doubleToken(double value);
std::string fixedToken(double value, int decimals);

class JsonWriter {
 public:
  enum class Layout { lines, one_line };

  explicit JsonWriter(Layout layout = Layout::lines);
  ~JsonWriter();
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  JsonWriter& beginObject(bool inline_container = false);
  JsonWriter& endObject();
  JsonWriter& beginArray(bool inline_container = false);
  JsonWriter& endArray();
  JsonWriter& key(const char* name);

  JsonWriter& value(const std::string& text);
  JsonWriter& value(const char* text);  // null pointer: null
  JsonWriter& value(const char* text, std::size_t length);
  JsonWriter& null();
  JsonWriter& boolean(bool flag);
  JsonWriter& integer(std::int64_t number);
  JsonWriter& number(float number);
  JsonWriter& number(double number) = delete;  // say which: number(float), numberDouble, fixed
  JsonWriter& numberDouble(double number);
  JsonWriter& fixed(double number, int decimals = 2);

  // The text written so far; complete once the outermost container is closed.
  const std::string& text() const noexcept { return out_; }
  std::string take() noexcept { return std::move(out_); }

 private:
  class Layouter;
  JsonWriter& raw(const std::string& token);

  std::string out_;
  std::string repaired_;  // scratch for texts that need the repair
  std::unique_ptr<Layouter> writer_;
};

}  // namespace ostrel

#include "platform/input_binding.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

#include "host/numeric.h"

namespace ostrel::platform {
namespace {

constexpr unsigned char kDateType = 8;
constexpr unsigned char kDateTimeType = 10;

std::int32_t toInt32(unsigned value) noexcept {
  constexpr unsigned kMax = static_cast<unsigned>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(value > kMax ? kMax : value);
}

// Whether the platform's text `held` (null: none, which reads as empty) reads as `text`, as
// strcmp judges it. A short text is compared inline (most of the study's are a few letters);
// a longer one by strcmp. Either stops at the first difference, so neither reads past the end
// of the shorter text.
bool sameText(const HostString& text, const char* held) noexcept {
  if (held == nullptr) return text.empty();
  const char* ours = text.c_str();
  constexpr std::size_t kInlineLength = 8;
  if (text.size() >= kInlineLength) return std::strcmp(ours, held) == 0;
  for (std::size_t k = 0;; ++k) {
    if (held[k] != ours[k]) return false;
    if (held[k] == '\0') return true;
  }
}

const char* heldText(const s_SCInput_145& input) noexcept {
  return input.UsesStringValue() ? input.StringValue : nullptr;
}

// Whether writing text slot `slot` would leave the platform's text `held` as it is.
bool writesSameText(const StudyInput& slot, const char* held) noexcept {
  if (slot.has_text != 0) return sameText(slot.text, held);
  return held == nullptr || held[0] == '\0';
}

// False when the text could not be stored (the slot then holds the empty text).
bool setText(StudyInput& to, const char* text) noexcept {
  if (to.type != InputType::kText || to.has_text == 0 || !sameText(to.text, text)) {
    to.text.assign(text != nullptr ? text : "");
  }
  to.type = InputType::kText;
  to.has_text = 1;
  return sameText(to.text, text);
}

void setValue(StudyInput& to, InputType type, double d, std::int32_t i, std::uint32_t c) noexcept {
  if (to.type == InputType::kText && type != InputType::kText) to.text.clear();
  to.type = type;
  to.double_value = d;
  to.int_value = i;
  to.colour_value = c;
  to.has_text = 0;
}

std::uint64_t bitsOf(double value) noexcept {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::int32_t lowestBit(std::uint64_t word) noexcept {
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_ctzll(word);
#else
  std::int32_t i = 0;
  while ((word & 1u) == 0) {
    word >>= 1;
    ++i;
  }
  return i;
#endif
}

void setBit(std::uint64_t* bits, std::int32_t i, bool on) noexcept {
  const std::uint64_t bit = std::uint64_t{1} << (i % 64);
  bits[i / 64] = on ? (bits[i / 64] | bit) : (bits[i / 64] & ~bit);
}

// The platform's value union as bytes (every type's value lies in its 16 bytes).
void takeRaw(const s_SCInput_145& from, InputMarks::Raw& to) noexcept {
  static_assert(sizeof from.ValueBytes == 2 * sizeof(std::uint64_t), "the value union's size");
  std::memcpy(&to.low, from.ValueBytes, sizeof to.low);
  std::memcpy(&to.high, from.ValueBytes + sizeof to.low, sizeof to.high);
  to.type = from.ValueType;
}

// Non-zero when the input's type or value bytes differ from its mark.
std::uint64_t rawDifference(const s_SCInput_145& from, const InputMarks::Raw& to) noexcept {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::memcpy(&low, from.ValueBytes, sizeof low);
  std::memcpy(&high, from.ValueBytes + sizeof low, sizeof high);
  return (low ^ to.low) | (high ^ to.high) | (from.ValueType ^ to.type);
}

// The value fields' bytes, which lie next to each other: the double, then the int and the
// colour.
static_assert(std::is_standard_layout<StudyInput>::value, "a slot is read by its layout");
static_assert(offsetof(StudyInput, int_value) == offsetof(StudyInput, double_value) + 8 &&
                  offsetof(StudyInput, colour_value) == offsetof(StudyInput, int_value) + 4,
              "the value fields are adjacent");
constexpr std::size_t kValueFields = offsetof(StudyInput, double_value);

void valueWords(const StudyInput& slot, std::uint64_t& low, std::uint64_t& high) noexcept {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&slot) + kValueFields;
  std::memcpy(&low, bytes, sizeof low);
  std::memcpy(&high, bytes + sizeof low, sizeof high);
}

void takeValue(const StudyInput& from, InputMarks::Value& to) noexcept {
  valueWords(from, to.low, to.high);
  to.type = static_cast<std::int32_t>(from.type);
}

// Non-zero when any value field differs from the mark, bit for bit (a NaN the core left alone
// is no change); the text apart.
std::uint64_t valueDifference(const StudyInput& now, const InputMarks::Value& then) noexcept {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  valueWords(now, low, high);
  return (low ^ then.low) | (high ^ then.high) |
         (static_cast<std::uint32_t>(now.type) ^ static_cast<std::uint32_t>(then.type));
}

// The marked fields back out of their words, byte for byte as they went in.
std::int32_t markedInt(const InputMarks::Value& mark) noexcept {
  std::int32_t value = 0;
  std::memcpy(&value, &mark.high, sizeof value);
  return value;
}
std::uint32_t markedColour(const InputMarks::Value& mark) noexcept {
  std::uint32_t value = 0;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(&mark.high) + sizeof(std::int32_t),
              sizeof value);
  return value;
}

// Whether the core changed what the platform reads of the slot: its type, or the value of that
// type (a field of another type is not written back).
bool changed(const StudyInput& now, const InputMarks::Value& then,
             const s_SCInput_145& platform) noexcept {
  if (static_cast<std::int32_t>(now.type) != then.type) return true;
  switch (now.type) {
    case InputType::kFloat:
    case InputType::kTimeOfDay: return bitsOf(now.double_value) != then.low;
    case InputType::kColour: return now.colour_value != markedColour(then);
    case InputType::kText: return !writesSameText(now, heldText(platform));
    default: return now.int_value != markedInt(then);
  }
}

}  // namespace

bool readInput(s_SCInput_145& from, StudyInput& to) noexcept {
  // A text is read only where the platform says the input holds one; any other reading of its
  // bytes would take a pointer for a number.
  if (from.UsesStringValue()) return setText(to, from.StringValue);
  switch (from.ValueType) {
    case FLOAT_VALUE:
      setValue(to, InputType::kFloat, static_cast<double>(from.GetFloat()), 0, 0);
      break;
    case YESNO_VALUE: setValue(to, InputType::kYesNo, 0.0, from.GetYesNo() != 0 ? 1 : 0, 0); break;
    case TIME_VALUE:
    case kDateType:
    case kDateTimeType: setValue(to, InputType::kTimeOfDay, from.DateTimeValue, 0, 0); break;
    case INT_VALUE: setValue(to, InputType::kInteger, 0.0, from.GetInt(), 0); break;
    case COLOR_VALUE: setValue(to, InputType::kColour, 0.0, 0, from.GetColor()); break;
    case CUSTOM_STRING_VALUE:
      setValue(to, InputType::kCustomList, 0.0, toInt32(from.GetIndex()), 0);
      break;
    case TIMEZONE_VALUE:
      // The platform's own reading: the index, 0 past its table of zones.
      setValue(to, InputType::kTimeZone, 0.0, static_cast<std::int32_t>(from.GetTimeZone()), 0);
      break;
    default: setValue(to, static_cast<InputType>(from.ValueType), 0.0, 0, 0); break;
  }
  return true;
}

void writeInputValue(const StudyInput& from, s_SCInput_145& to) noexcept {
  // The platform's setters other than SetString leave a text behind, unfreed. Only a text made
  // through SetString (StringModified) is ours to free, as SetString itself frees only those.
  if (from.type != InputType::kText && to.UsesStringValue() && to.StringModified) {
    to.ClearString();
  }
  switch (from.type) {
    case InputType::kFloat: to.SetFloat(toFloat(from.double_value)); break;
    case InputType::kYesNo: to.SetYesNo(from.int_value != 0 ? 1u : 0u); break;
    case InputType::kTimeOfDay:
      to.SetTime(0);
      to.DateTimeValue = from.double_value;
      break;
    case InputType::kInteger: to.SetInt(from.int_value); break;
    case InputType::kColour: to.SetColor(from.colour_value); break;
    case InputType::kCustomList:
      to.SetCustomInputIndex(from.int_value > 0 ? static_cast<unsigned>(from.int_value) : 0u);
      break;
    case InputType::kTimeZone: {
      const std::int32_t zone =
          from.int_value < 0 ? 0 : (from.int_value >= NUM_TIME_ZONES ? 0 : from.int_value);
      to.SetTimeZone(static_cast<TimeZonesEnum>(zone));
      break;
    }
    case InputType::kText: to.SetString(from.has_text != 0 ? from.text.c_str() : ""); break;
    default: break;  // a type the study never declares
  }
}

namespace {

// A slot read again, and both marks of it. False when memory ran out for its text: the raw
// mark then matches nothing, so the input is read again in the next call.
bool readAgain(s_SCInput_145& from, StudyInput& slot, InputMarks& marks, std::int32_t i) noexcept {
  const bool read = readInput(from, slot);
  takeRaw(from, marks.raw[i]);
  takeValue(slot, marks.value[i]);
  setBit(marks.raw_text, i, from.UsesStringValue());
  setBit(marks.value_text, i, slot.type == InputType::kText);
  if (!read) marks.raw[i].type = InputMarks::kNeverRead;
  return read;
}

// Whether `difference` is non-zero for any of the first `count` pairs: two pairs at a time, with
// one well-predicted branch for both (in the usual call nothing changed).
template <typename A, typename B>
bool anyDifference(const A* a, const B* b, std::int32_t count,
                   std::uint64_t (*difference)(const A&, const B&)) noexcept {
  std::int32_t i = 0;
  for (; i + 1 < count; i += 2) {
    if ((difference(a[i], b[i]) | difference(a[i + 1], b[i + 1])) != 0) return true;
  }
  return i < count && difference(a[i], b[i]) != 0;
}

// Calls `visit(i)` for each bit i set in the first `count` bits, lowest first. The bits are
// taken a word at a time before the visits, so a visit may change them.
template <typename Visit>
void forEachBit(const std::uint64_t* bits, std::int32_t count, Visit visit) noexcept {
  for (std::int32_t word = 0; word * 64 < count; ++word) {
    std::uint64_t left = bits[word];
    while (left != 0) {
      const std::int32_t i = word * 64 + lowestBit(left);
      left &= left - 1;
      if (i < count) visit(i);
    }
  }
}

// The slot goes to the platform; the platform's input is read again in the next call.
void writeSlot(const StudyInput& slot, s_SCInput_145& to, InputMarks& marks,
               std::int32_t i) noexcept {
  writeInputValue(slot, to);
  takeValue(slot, marks.value[i]);
  setBit(marks.value_text, i, slot.type == InputType::kText);
  marks.raw[i].type = InputMarks::kNeverRead;
}

}  // namespace

bool readInputs(s_sc& sc, StudyInput* inputs, InputMarks& marks, std::int32_t count) noexcept {
  // The caller made sure the array holds `count` inputs; index it directly.
  s_SCInput_145* all = sc.Input.GetPointer();
  if (all == nullptr || count > InputMarks::kMaxInputs || sc.Input.GetArraySize() < count) {
    return true;
  }
  bool complete = true;
  if (anyDifference(all, marks.raw, count, &rawDifference)) {
    for (std::int32_t i = 0; i < count; ++i) {
      if (rawDifference(all[i], marks.raw[i]) != 0) {
        complete = readAgain(all[i], inputs[i], marks, i) && complete;
      }
    }
  }
  // The texts by content. Unchanged bytes mean the same type, so these are still texts.
  forEachBit(marks.raw_text, count, [&](std::int32_t i) {
    const StudyInput& slot = inputs[i];
    if (slot.type != InputType::kText || slot.has_text == 0 ||
        !sameText(slot.text, all[i].StringValue)) {
      complete = readAgain(all[i], inputs[i], marks, i) && complete;
    }
  });
  return complete;
}

bool writeDeclaredInputs(s_sc& sc, const StudyInput* inputs, std::int32_t count) noexcept {
  bool complete = true;
  for (std::int32_t i = 0; i < count; ++i) {
    const StudyInput& from = inputs[i];
    s_SCInput_145& to = sc.Input[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    if (to.Name.Compare(from.name.c_str()) != 0) complete = false;
    writeInputValue(from, to);
    if (from.type == InputType::kText && !writesSameText(from, heldText(to))) complete = false;
    if (!from.options.empty() && to.InternalSetCustomStrings != nullptr) {
      to.SetCustomInputStrings(from.options.c_str());
    }
    const std::int32_t position = from.display_position;
    to.DisplayOrder =
        static_cast<std::uint16_t>(position < 0 ? 0 : (position > 65535 ? 65535 : position));
  }
  return complete;
}

void writeChangedInputs(s_sc& sc, const StudyInput* inputs, InputMarks& marks,
                        std::int32_t count) noexcept {
  s_SCInput_145* all = sc.Input.GetPointer();
  if (all == nullptr || count > InputMarks::kMaxInputs || sc.Input.GetArraySize() < count) return;
  const bool any = anyDifference(inputs, marks.value, count, &valueDifference);
  for (std::int32_t i = 0; any && i < count; ++i) {
    const StudyInput& now = inputs[i];
    if (valueDifference(now, marks.value[i]) == 0) continue;
    if (changed(now, marks.value[i], all[i])) {
      writeSlot(now, all[i], marks, i);
    } else {
      takeValue(now, marks.value[i]);  // a field of another type only: no compare next time
      setBit(marks.value_text, i, now.type == InputType::kText);
    }
  }
  // The texts by content. Unchanged fields mean the same type, so these are still texts.
  forEachBit(marks.value_text, count, [&](std::int32_t i) {
    if (!writesSameText(inputs[i], heldText(all[i]))) writeSlot(inputs[i], all[i], marks, i);
  });
}

}  // namespace ostrel::platform

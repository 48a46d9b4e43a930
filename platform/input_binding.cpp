#include "platform/input_binding.h"

#include <cstring>
#include <limits>

#include "host/numeric.h"

namespace ostrel::platform {
namespace {

constexpr unsigned char kDateType = 8;
constexpr unsigned char kDateTimeType = 10;

std::int32_t toInt32(unsigned value) noexcept {
  constexpr unsigned kMax = static_cast<unsigned>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(value > kMax ? kMax : value);
}

void setText(StudyInput& to, const char* text) noexcept {
  if (text == nullptr) text = "";
  if (to.type != InputType::kText || to.has_text == 0 || to.text != text) to.text.assign(text);
  to.type = InputType::kText;
  to.has_text = 1;
}

void setValue(StudyInput& to, InputType type, double d, std::int32_t i, std::uint32_t c) noexcept {
  if (to.type == InputType::kText && type != InputType::kText) to.text.clear();
  to.type = type;
  to.double_value = d;
  to.int_value = i;
  to.colour_value = c;
  to.has_text = 0;
}

// Bit for bit, so that a NaN the core left alone does not count as a change.
bool sameDouble(double a, double b) noexcept {
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  std::memcpy(&x, &a, sizeof a);
  std::memcpy(&y, &b, sizeof b);
  return x == y;
}

// The platform's value union as bytes (every type's value lies in its 16 bytes).
void takeRaw(const s_SCInput_145& from, InputSnapshot& to) noexcept {
  to.raw_type = from.ValueType;
  std::memcpy(to.raw_value, from.ValueBytes, sizeof to.raw_value);
  to.raw_valid = true;
}

bool sameRaw(const s_SCInput_145& from, const InputSnapshot& to) noexcept {
  return to.raw_valid && from.ValueType == to.raw_type &&
         std::memcmp(to.raw_value, from.ValueBytes, sizeof to.raw_value) == 0;
}

void takeValue(const StudyInput& from, InputSnapshot& to) noexcept {
  to.type = from.type;
  to.int_value = from.int_value;
  to.double_value = from.double_value;
  to.colour_value = from.colour_value;
}

bool changed(const StudyInput& now, const InputSnapshot& then, s_sc& sc, std::int32_t index) {
  if (now.type != then.type) return true;
  switch (now.type) {
    case InputType::kFloat:
    case InputType::kTimeOfDay: return !sameDouble(now.double_value, then.double_value);
    case InputType::kColour: return now.colour_value != then.colour_value;
    case InputType::kText: {
      const s_SCInput_145& platform = sc.Input[index];
      const char* held = platform.UsesStringValue() ? platform.StringValue : nullptr;
      return !(now.text == (held != nullptr ? held : ""));
    }
    default: return now.int_value != then.int_value;
  }
}

}  // namespace

void readInput(s_SCInput_145& from, StudyInput& to) noexcept {
  // A text is read only where the platform says the input holds one; any other reading of its
  // bytes would take a pointer for a number.
  if (from.UsesStringValue()) {
    setText(to, from.StringValue);
    return;
  }
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

void readInputs(s_sc& sc, StudyInput* inputs, InputSnapshot* taken, std::int32_t count) noexcept {
  // The caller made sure the array holds `count` inputs; index it directly.
  sc.Input.ElementAt(count - 1);
  s_SCInput_145* all = sc.Input.GetPointer();
  if (all == nullptr || sc.Input.GetArraySize() < count) return;
  for (std::int32_t i = 0; i < count; ++i) {
    s_SCInput_145& from = all[i];
    InputSnapshot& mark = taken[i];
    if (!from.UsesStringValue() && sameRaw(from, mark)) continue;
    StudyInput& slot = inputs[i];
    readInput(from, slot);
    takeValue(slot, mark);
    takeRaw(from, mark);
  }
}

void writeDeclaredInputs(s_sc& sc, const StudyInput* inputs, std::int32_t count) noexcept {
  for (std::int32_t i = 0; i < count; ++i) {
    const StudyInput& from = inputs[i];
    s_SCInput_145& to = sc.Input[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    writeInputValue(from, to);
    if (!from.options.empty() && to.InternalSetCustomStrings != nullptr) {
      to.SetCustomInputStrings(from.options.c_str());
    }
    const std::int32_t position = from.display_position;
    to.DisplayOrder =
        static_cast<std::uint16_t>(position < 0 ? 0 : (position > 65535 ? 65535 : position));
  }
}

void writeChangedInputs(s_sc& sc, const StudyInput* inputs, InputSnapshot* taken,
                        std::int32_t count) noexcept {
  for (std::int32_t i = 0; i < count; ++i) {
    if (!changed(inputs[i], taken[i], sc, i)) continue;
    s_SCInput_145& to = sc.Input[i];
    writeInputValue(inputs[i], to);
    takeValue(inputs[i], taken[i]);
    takeRaw(to, taken[i]);
  }
}

}  // namespace ostrel::platform

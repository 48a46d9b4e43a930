// The simulated platform's inputs: the SimHost's values written through the SDK's setters, as
// the platform's settings dialog writes them, and read back through its getters.
#include <cmath>
#include <cstring>
#include <limits>

#include "sim/platform_record_state.h"

namespace ostrel::sim {
namespace {

// The dialog takes a time of day in whole seconds; any double maps to one.
int wholeSeconds(double days) {
  const double seconds = std::round(days * 86400.0);
  if (!(std::fabs(seconds) < 2147483647.0)) return 0;
  return static_cast<int>(seconds);
}

float toPlatformFloat(double value) {
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  constexpr double kMax = static_cast<double>(std::numeric_limits<float>::max());
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

std::int32_t toInt32(unsigned value) {
  constexpr unsigned kMax = static_cast<unsigned>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(value > kMax ? kMax : value);
}

// Whether `to` already holds the value the SimHost slot has, as its getters read it.
bool holds(const StudyInput& from, s_SCInput_145& to) {
  switch (from.type) {
    case InputType::kFloat: {
      // Bit for bit, so that a NaN is held too.
      const float want = toPlatformFloat(from.double_value);
      const float have = to.GetFloat();
      return to.ValueType == FLOAT_VALUE && std::memcmp(&want, &have, sizeof want) == 0;
    }
    case InputType::kYesNo:
      return to.ValueType == YESNO_VALUE && to.GetYesNo() == (from.int_value != 0 ? 1u : 0u);
    case InputType::kTimeOfDay:
      return to.ValueType == TIME_VALUE &&
             to.DateTimeValue == wholeSeconds(from.double_value) / 86400.0;
    case InputType::kInteger: return to.ValueType == INT_VALUE && to.GetInt() == from.int_value;
    case InputType::kColour:
      return to.ValueType == COLOR_VALUE && to.GetColor() == from.colour_value;
    case InputType::kCustomList:
      return to.ValueType == CUSTOM_STRING_VALUE &&
             to.GetIndex() == (from.int_value > 0 ? static_cast<unsigned>(from.int_value) : 0u);
    case InputType::kTimeZone:
      return to.ValueType == TIMEZONE_VALUE &&
             to.IndexValue == static_cast<unsigned>(from.int_value);
    case InputType::kText: {
      const char* text = from.has_text != 0 ? from.text.c_str() : "";
      const char* held = to.UsesStringValue() ? to.StringValue : nullptr;
      return to.UsesStringValue() && std::strcmp(held != nullptr ? held : "", text) == 0;
    }
    default: return to.ValueType == static_cast<unsigned char>(from.type);
  }
}

}  // namespace

void presentInput(const StudyInput& from, s_SCInput_145& to) {
  if (holds(from, to)) return;
  // The dialog frees the text of an input that changes its type; the setters do not.
  if (from.type != InputType::kText) to.ClearString();
  switch (from.type) {
    case InputType::kFloat: to.SetFloat(toPlatformFloat(from.double_value)); break;
    case InputType::kYesNo: to.SetYesNo(from.int_value != 0 ? 1u : 0u); break;
    case InputType::kTimeOfDay: to.SetTime(wholeSeconds(from.double_value)); break;
    case InputType::kInteger: to.SetInt(from.int_value); break;
    case InputType::kColour: to.SetColor(from.colour_value); break;
    case InputType::kCustomList:
      // The dialog offers no index below 0.
      to.SetCustomInputIndex(from.int_value > 0 ? static_cast<unsigned>(from.int_value) : 0u);
      break;
    case InputType::kTimeZone:
      // A zone index the dialog does not offer is kept as a chartbook would hold it; the
      // platform's getter reads it as 0.
      if (from.int_value >= 0 && from.int_value < NUM_TIME_ZONES) {
        to.SetTimeZone(static_cast<TimeZonesEnum>(from.int_value));
      } else {
        to.SetTimeZone(TIMEZONE_NOT_SPECIFIED);
        to.IndexValue = static_cast<unsigned>(from.int_value);
      }
      break;
    case InputType::kText: to.SetString(from.has_text != 0 ? from.text.c_str() : ""); break;
    default:
      // No setter makes an input of no type, or of a type the study never declares.
      to.SetInt(0);
      to.ValueType = static_cast<unsigned char>(from.type);
      break;
  }
}

void takeBackInput(s_SCInput_145& from, StudyInput& to) {
  if (from.UsesStringValue()) {
    to.setText(from.StringValue != nullptr ? from.StringValue : "");
    return;
  }
  if (to.type == InputType::kText) to.text.clear();
  to.has_text = 0;
  switch (from.ValueType) {
    case FLOAT_VALUE: to.setFloat(from.GetFloat()); break;
    case YESNO_VALUE: to.setYesNo(from.GetYesNo() != 0); break;
    case TIME_VALUE: to.setTimeOfDay(from.GetTime() / 86400.0); break;
    case INT_VALUE: to.setInteger(from.GetInt()); break;
    case COLOR_VALUE: to.setColour(from.GetColor()); break;
    case CUSTOM_STRING_VALUE: to.setCustomList(toInt32(from.GetIndex())); break;
    case TIMEZONE_VALUE: to.setTimeZone(static_cast<std::int32_t>(from.GetTimeZone())); break;
    default: to.type = static_cast<InputType>(from.ValueType); break;
  }
}

void PlatformRecord::State::presentInputs() {
  StudyHost& h = sim.host();
  for (std::int32_t i = 0; i < SimHost::kInputCount && i < h.InputCount; ++i) {
    const StudyInput& from = h.Inputs[i];
    s_SCInput_145& to = inputs[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    presentInput(from, to);
    to.DisplayOrder = static_cast<std::uint16_t>(
        from.display_position < 0
            ? 0
            : (from.display_position > 65535 ? 65535 : from.display_position));
    InputMark& mark = marks[static_cast<std::size_t>(i)];
    mark.type = to.ValueType;
    std::memcpy(mark.value, to.ValueBytes, sizeof mark.value);
  }
}

void PlatformRecord::State::takeBackInputs() {
  StudyHost& h = sim.host();
  for (std::int32_t i = 0; i < SimHost::kInputCount && i < h.InputCount; ++i) {
    s_SCInput_145& from = inputs[i];
    StudyInput& to = h.Inputs[i];
    const InputMark& mark = marks[static_cast<std::size_t>(i)];
    const auto options = options_set.find(i);
    if (options != options_set.end()) to.setOptions(options->second.c_str());
    if (!(to.name == from.Name.GetChars())) to.name.assign(from.Name.GetChars());
    to.display_position = from.DisplayOrder;
    if (from.ValueType != mark.type ||
        std::memcmp(mark.value, from.ValueBytes, sizeof mark.value) != 0) {
      takeBackInput(from, to);
    }
  }
}

}  // namespace ostrel::sim

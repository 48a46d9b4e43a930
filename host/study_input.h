// StudyInput: one input slot of the host, shown in the study's settings.
//
// The host stores a type code with every value; the study declares a type in the defaults call,
// but a slot may hold any type later (the user, the host or a saved chart can change it), so
// readers must look at `type` each time (see study/input_readers.h). A text slot may hold no
// text at all (`has_text` false), which differs from holding the empty text.
#pragma once

#include <cstdint>

#include "host/host_string.h"

namespace ostrel {

enum class InputType : std::int32_t {
  kNone = 0,
  kFloat = 2,
  kYesNo = 5,
  kTimeOfDay = 9,
  kInteger = 11,
  kColour = 14,
  kCustomList = 22,
  kTimeZone = 24,
  kText = 26,
};

struct StudyInput {
  HostString name;
  InputType type = InputType::kNone;
  // One value per type family; which one is meaningful depends on `type`.
  double double_value = 0.0;       // float (narrowed on write), time of day
  std::int32_t int_value = 0;      // integer, yes/no, custom list index, time zone index
  std::uint32_t colour_value = 0;  // colour
  HostString text;                 // text, when has_text
  std::int32_t has_text = 0;
  HostString options;  // custom list options, ';'-separated
  std::int32_t display_position = 0;

  void setFloat(float value) noexcept {
    type = InputType::kFloat;
    double_value = static_cast<double>(value);
  }
  void setInteger(std::int32_t value) noexcept {
    type = InputType::kInteger;
    int_value = value;
  }
  void setYesNo(bool value) noexcept {
    type = InputType::kYesNo;
    int_value = value ? 1 : 0;
  }
  void setColour(std::uint32_t value) noexcept {
    type = InputType::kColour;
    colour_value = value;
  }
  void setCustomList(std::int32_t index) noexcept {
    type = InputType::kCustomList;
    int_value = index;
  }
  void setTimeZone(std::int32_t index) noexcept {
    type = InputType::kTimeZone;
    int_value = index;
  }
  void setTimeOfDay(double fraction_of_day) noexcept {
    type = InputType::kTimeOfDay;
    double_value = fraction_of_day;
  }
  // A text slot that holds `value` (possibly the empty text). A null value leaves a text slot
  // without text.
  void setText(const char* value) noexcept {
    type = InputType::kText;
    text.assign(value);
    has_text = value != nullptr ? 1 : 0;
  }
  void setOptions(const char* list) noexcept { options.assign(list); }
};

}  // namespace ostrel

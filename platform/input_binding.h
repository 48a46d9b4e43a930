// Inputs between the platform's record and the core's StudyInput slots.
//
// Reading (every call): each slot takes the platform's type code and the value of that type, as
// the platform's own getters read it: a time zone is its index (IndexValue, GetTimeZone), 0 past
// the table of 29 zones; a list index beyond the int range is the largest int. A text is read
// only where the input says it holds one (UsesStringValue), so that no pointer is read as a
// number nor a number as a pointer. The platform cannot tell an empty text from none
// (SetString("") stores a null text), so a null text reaches the core as the empty text, never
// as "no text": a cleared futures target then switches the conversion off and a cleared label
// is empty. A slot's copy of a text is only reallocated when the text changed. The platform's
// date (8) and date-time (10) types reach the core as a time of day with the same value in
// days, whose time-of-day part the core reads; any other type the core does not know reaches
// it with that code and no value.
//
// Writing: the defaults call writes every slot (name, type and value, option list, display
// position); an update call writes only the slots whose type or value the core changed, since
// every assignment marks a platform input modified. A text the input held, made through
// SetString, is freed (ClearString) before another type is written over it, which the
// platform's other setters do not do. Floats go back as floats; a time of day is stored as the
// exact fraction of a day (SetTime takes whole seconds only).
#pragma once

#include <cstdint>

#include "host/study_input.h"
#include "platform/platform_sdk.h"

namespace ostrel::platform {

// What a slot held when it was handed to the core, and the platform input's raw type and value
// bytes it was read from: an input whose bytes are unchanged since is not converted again (the
// slot still holds its value), so an idle call costs a compare per input. Texts are compared
// by content every call, as a new text may reuse the old one's address.
struct InputSnapshot {
  InputType type = InputType::kNone;
  std::int32_t int_value = 0;
  double double_value = 0.0;
  std::uint32_t colour_value = 0;
  bool raw_valid = false;
  unsigned char raw_type = 0;
  unsigned char raw_value[16] = {};
};

void readInput(s_SCInput_145& from, StudyInput& to) noexcept;
void writeInputValue(const StudyInput& from, s_SCInput_145& to) noexcept;

void readInputs(s_sc& sc, StudyInput* inputs, InputSnapshot* taken, std::int32_t count) noexcept;
void writeDeclaredInputs(s_sc& sc, const StudyInput* inputs, std::int32_t count) noexcept;
void writeChangedInputs(s_sc& sc, const StudyInput* inputs, InputSnapshot* taken,
                        std::int32_t count) noexcept;

}  // namespace ostrel::platform

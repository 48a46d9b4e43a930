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

// What the binding last saw of each input, on both sides, so that an idle call costs one
// compare per input each way:
// - the platform input's raw type and value bytes when last read (an input whose bytes are
//   unchanged is not converted again: the slot still holds its value); an input the binding
//   wrote is read again in the next call, so that the slot holds what the platform made of the
//   value (a float narrowed, an index clamped);
// - the slot's value fields after that, bit for bit (a slot whose fields are unchanged after the
//   core ran is not written back).
// Each side is a flat array of its own, so that each pass touches only the bytes it compares.
// Texts are compared by content in both directions every call, as a new text may reuse the old
// one's address or storage: the inputs that hold one are kept as bits, so that the passes over
// all inputs need no test for them.
struct InputMarks {
  static constexpr std::int32_t kMaxInputs = 128;
  static constexpr std::uint32_t kNeverRead = 0x100;  // no byte is this type code

  struct Raw {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::uint32_t type = kNeverRead;
  };
  // The slot's double_value, int_value and colour_value, which lie next to each other, as two
  // words of bytes; its type apart.
  struct Value {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::int32_t type = 0;
  };

  Raw raw[kMaxInputs];
  Value value[kMaxInputs];
  std::uint64_t raw_text[kMaxInputs / 64] = {};    // the platform input holds a text
  std::uint64_t value_text[kMaxInputs / 64] = {};  // the slot was handed over as a text
};

// False when memory ran out for a text: the slot then holds the empty text, and readInputs
// reads that input again on the next call.
bool readInput(s_SCInput_145& from, StudyInput& to) noexcept;
void writeInputValue(const StudyInput& from, s_SCInput_145& to) noexcept;

// Over the first `count` inputs (at most InputMarks::kMaxInputs; nothing when the platform's
// array is shorter or absent). False when memory ran out for a text: that input is read again
// on the next call.
bool readInputs(s_sc& sc, StudyInput* inputs, InputMarks& marks, std::int32_t count) noexcept;
// False when memory ran out for a name or a text (the platform's input then lacks it).
bool writeDeclaredInputs(s_sc& sc, const StudyInput* inputs, std::int32_t count) noexcept;
void writeChangedInputs(s_sc& sc, const StudyInput* inputs, InputMarks& marks,
                        std::int32_t count) noexcept;

}  // namespace ostrel::platform

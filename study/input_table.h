// The study's 110 inputs as data: name, value type, default, option list and display position,
// in slot order. declareInputs() writes them into the host's slots in the defaults call; every
// other part of the study reads the slots through study/input_readers.h.
//
// A host that offers fewer than 110 slots gets only the slots it has: a missing slot is never
// written through a clamped index.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

enum class InputKind : std::int32_t {
  CustomList,
  Text,
  Float,
  Integer,
  YesNo,
  Colour,
  TimeOfDay,
  TimeZone,
};

struct InputSpec {
  const char* name;
  InputKind kind;
  // Default of every kind but text: list or zone index, float, integer, yes/no as 0/1, colour
  // value, or a fraction of a day.
  double number;
  // Text default (text kind) or the ';'-separated option list (custom lists); null otherwise.
  const char* text;
  std::int32_t position;  // display position; 0 = none
};

constexpr std::size_t kInputSpecCount = 110;

// The table, kInputSpecCount entries in slot order.
const InputSpec* inputSpecs() noexcept;

// For every slot the host has: name, then type and default, then options, then position. False
// when memory ran out for a text (that text is then empty); every slot is still declared.
bool declareInputs(StudyHost& host) noexcept;

}  // namespace ostrel

// The six input readers. Each reads a slot by the type the slot holds at that moment, not by
// the type the study declared, so a slot the host or the user changed to another type still
// reads to a defined value (a text read as a number is 0, and so on).
#pragma once

#include <cstdint>

#include "host/study_input.h"

namespace ostrel {

float readFloat(const StudyInput& slot) noexcept;
std::int32_t readInteger(const StudyInput& slot) noexcept;
std::int32_t readIndex(const StudyInput& slot) noexcept;
bool readBool(const StudyInput& slot) noexcept;
std::uint32_t readColour(const StudyInput& slot) noexcept;
// Microseconds of a time of day (the fraction of a day times 8.64e10, rounded half away from
// zero); 0 for every other type.
std::int64_t readDateTime(const StudyInput& slot) noexcept;
// The slot's text when it is a text slot holding one; otherwise "Unset".
const char* readText(const StudyInput& slot) noexcept;
// The time-zone index while the slot holds a time zone; -1 (no zone) for any other type.
std::int32_t readTimeZoneIndex(const StudyInput& slot) noexcept;

}  // namespace ostrel

#include "study/input_readers.h"

#include "host/numeric.h"
#include "host/time_units.h"

namespace ostrel {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFu;

std::int32_t colourAsInt(std::uint32_t colour) noexcept {
  // Two's-complement reinterpretation, spelled out so it is defined on every compiler.
  return colour <= 0x7FFFFFFFu ? static_cast<std::int32_t>(colour)
                               : -static_cast<std::int32_t>(~colour) - 1;
}

std::int64_t timeOfDayMicros(double fraction) noexcept {
  if (fraction == 0.0) return 0;
  return roundToInt64(fraction * 8.64e10);
}

}  // namespace

float readFloat(const StudyInput& slot) noexcept {
  switch (slot.type) {
    case InputType::kFloat: return toFloat(slot.double_value);
    case InputType::kYesNo: return slot.int_value != 0 ? 1.0f : 0.0f;
    case InputType::kInteger:
    case InputType::kCustomList:
    case InputType::kTimeZone: return static_cast<float>(slot.int_value);
    default: return 0.0f;
  }
}

std::int32_t readInteger(const StudyInput& slot) noexcept {
  switch (slot.type) {
    case InputType::kFloat: return roundToInt32(slot.double_value);
    case InputType::kYesNo: return slot.int_value != 0 ? 1 : 0;
    case InputType::kTimeOfDay: {
      // Floored, so a negative time of day still gives a second of the day (0..86399).
      std::int64_t micros = timeOfDayMicros(slot.double_value) % kMicrosPerDay;
      if (micros < 0) micros += kMicrosPerDay;
      return static_cast<std::int32_t>(micros / 1000000);
    }
    case InputType::kInteger:
    case InputType::kCustomList:
    case InputType::kTimeZone: return slot.int_value;
    case InputType::kColour: return colourAsInt(slot.colour_value);
    default: return 0;
  }
}

std::int32_t readIndex(const StudyInput& slot) noexcept {
  switch (slot.type) {
    case InputType::kFloat: return roundToInt32(slot.double_value);
    case InputType::kYesNo: return slot.int_value != 0 ? 1 : 0;
    case InputType::kInteger:
    case InputType::kCustomList:
    case InputType::kTimeZone: return slot.int_value;
    case InputType::kColour: return colourAsInt(slot.colour_value);
    default: return 0;
  }
}

bool readBool(const StudyInput& slot) noexcept {
  switch (slot.type) {
    case InputType::kFloat:
    case InputType::kTimeOfDay: return slot.double_value != 0.0;
    case InputType::kYesNo:
    case InputType::kInteger:
    case InputType::kCustomList:
    case InputType::kTimeZone: return slot.int_value != 0;
    case InputType::kColour: return slot.colour_value != 0;
    default: return false;
  }
}

std::uint32_t readColour(const StudyInput& slot) noexcept {
  switch (slot.type) {
    case InputType::kYesNo: return slot.int_value != 0 ? kWhite : 0;
    case InputType::kInteger:
    case InputType::kCustomList:
    case InputType::kTimeZone: return static_cast<std::uint32_t>(slot.int_value);
    case InputType::kColour: return slot.colour_value;
    default: return 0;
  }
}

std::int64_t readDateTime(const StudyInput& slot) noexcept {
  return slot.type == InputType::kTimeOfDay ? timeOfDayMicros(slot.double_value) : 0;
}

const char* readText(const StudyInput& slot) noexcept {
  if (slot.type == InputType::kText && slot.has_text != 0) return slot.text.c_str();
  return "Unset";
}

std::int32_t readTimeZoneIndex(const StudyInput& slot) noexcept {
  return slot.type == InputType::kTimeZone ? slot.int_value : -1;
}

}  // namespace ostrel

// Date-times as scenarios write them: "YYYY-MM-DD HH:MM:SS" with an optional fraction of one to
// six digits ("2026-03-10 09:30:00.25"). Years 0001-9999; the date must exist (2026-02-29 does
// not) and the time lie within 00:00:00-23:59:59.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel::sim {

// Microseconds since 1899-12-30 00:00 into `out`; false (out unchanged) for anything else.
bool parseDateTime(const char* text, std::size_t length, std::int64_t& out) noexcept;

// The date-time of a calendar date plus microseconds into that day.
std::int64_t dateTimeFromCivil(int year, int month, int day, std::int64_t micros) noexcept;

}  // namespace ostrel::sim

// The stored values of one study instance: every key of the study state, named once.
//
// Each store (int, time, text, pointer) is its own key space. Drawing slots run from
// first_drawing_slot to last_drawing_slot_key (999); the conversion trigger flags sit just above
// them at 1000 and 1001, and no drawing may ever be recorded there.
#pragma once

#include <cstdint>

namespace ostrel {

enum RequestState : std::int32_t { Failed = 0, Due = 1, Pending = 2, Done = 3 };

namespace key {

// StoredInt keys.
constexpr std::int32_t profile_state = 0;
constexpr std::int32_t history_state = 1;
constexpr std::int32_t last_drawing_slot = 6;
constexpr std::int32_t requests_halted = 7;
constexpr std::int32_t first_drawing_slot = 8;
constexpr std::int32_t last_drawing_slot_key = 999;
constexpr std::int32_t conversion_0930_done = 1000;
constexpr std::int32_t conversion_0932_done = 1001;

// StoredTime keys.
constexpr std::int32_t last_profile_request = 2;
constexpr std::int32_t last_conversion_request = 3;
constexpr std::int32_t last_history_request = 4;  // bounds how long it may stay pending

// StoredText keys.
constexpr std::int32_t conversion_ticker = 0;
constexpr std::int32_t conversion_target = 1;

// StoredPointer keys.
constexpr std::int32_t p_gex_data = 0;
constexpr std::int32_t p_greek_data = 1;

}  // namespace key
}  // namespace ostrel

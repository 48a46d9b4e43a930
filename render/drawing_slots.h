// Drawing slots: where the study remembers the host drawing numbers of the drawings it placed.
//
// A slot is a StoredInt key from 8 to 999 holding one drawing number (0: empty); key 6
// (last_drawing_slot) holds the highest slot written since the slots were last emptied.
//
// The slot range ends at 999 because keys 1000 and 1001 hold the futures-conversion trigger
// flags. A drawing operation whose key lies outside 8..999 still places its drawing and still
// advances the caller's running key, but records nothing: such a drawing is left to
// RemoveStudyDrawings, which the next render pass calls before it draws. Reading such a key
// answers 0 (no drawing to adjust), so it never reads a trigger flag as a drawing number.
// A last_drawing_slot beyond 999 (a corrupted store) is treated as 999 by every clean-up.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

constexpr bool isDrawingSlot(std::int32_t key) noexcept { return key >= 8 && key <= 999; }

// The drawing number recorded in slot `key`; 0 when the slot is empty or `key` is no slot.
std::int32_t slotDrawingNumber(StudyHost& host, std::int32_t key);

// After a placement: a nonzero number is stored in slot `key` and last_drawing_slot raised to
// `key` when below it. Does nothing for a zero number or a key outside the slot range.
void recordDrawing(StudyHost& host, std::int32_t key, std::int32_t number);

// Removes the drawing of slot `key` (if any) and empties the slot; no-op outside the range.
void releaseSlot(StudyHost& host, std::int32_t key);

// Every nonzero slot from 8 to last_drawing_slot (read once, capped at 999) removed with
// RemoveDrawing and zeroed. Leaves last_drawing_slot as it is.
void removeSlotDrawings(StudyHost& host);

}  // namespace ostrel

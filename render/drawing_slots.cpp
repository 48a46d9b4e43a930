#include "render/drawing_slots.h"

#include "host/host_calls.h"
#include "study/state_keys.h"

namespace ostrel {

std::int32_t slotDrawingNumber(StudyHost& host, std::int32_t key) {
  return isDrawingSlot(key) ? host::storedInt(host, key) : 0;
}

void recordDrawing(StudyHost& host, std::int32_t key, std::int32_t number) {
  if (number == 0 || !isDrawingSlot(key)) return;
  host::setStoredInt(host, key, number);
  if (host::storedInt(host, key::last_drawing_slot) < key) {
    host::setStoredInt(host, key::last_drawing_slot, key);
  }
}

void releaseSlot(StudyHost& host, std::int32_t key) {
  const std::int32_t number = slotDrawingNumber(host, key);
  if (number == 0) return;
  host::removeDrawing(host, number);
  host::setStoredInt(host, key, 0);
}

void removeSlotDrawings(StudyHost& host) {
  std::int32_t last = host::storedInt(host, key::last_drawing_slot);
  if (last > key::last_drawing_slot_key) last = key::last_drawing_slot_key;
  for (std::int32_t k = key::first_drawing_slot; k <= last; ++k) releaseSlot(host, k);
}

}  // namespace ostrel

#include "study/input_halts.h"

#include "host/host_calls.h"
#include "study/state_keys.h"

namespace ostrel {

const char* unservableInputsMessage(std::int32_t package, std::int32_t kind,
                                    std::int32_t display) noexcept {
  if (package == 1 && (kind == 0 || kind == 1) && (display == 1 || display == 2)) {
    return "No State GEX OI Data, halting requests. Choose GEX Volume or Gamma/Delta";
  }
  if (package == 0 && kind > 2) {
    return "Ostrel: Gamma/Delta requires the State package. Change Package to 'State'.";
  }
  return nullptr;
}

void applyInputHalts(StudyHost& host, std::int32_t package, std::int32_t kind,
                     std::int32_t display) {
  if (host::storedInt(host, key::requests_halted) != 0) return;
  const char* message = unservableInputsMessage(package, kind, display);
  if (message == nullptr) return;
  host::logMessage(host, message, 1);
  host::setStoredInt(host, key::requests_halted, 1);
}

}  // namespace ostrel

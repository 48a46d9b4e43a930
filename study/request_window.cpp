#include "study/request_window.h"

#include "host/host_calls.h"
#include "host/time_units.h"
#include "study/input_ids.h"
#include "study/input_readers.h"
#include "study/zone_table.h"

namespace ostrel {

std::int64_t secondOfDay(DateTime t) noexcept {
  std::int64_t micros = t % kMicrosPerDay;
  if (micros < 0) micros += kMicrosPerDay;
  return micros / kMicrosPerSecond;
}

std::int64_t windowBoundSecond(const StudyInput& slot) noexcept {
  const std::int64_t micros = readDateTime(slot);
  return micros == 0 ? 0 : secondOfDay(micros);
}

bool requestWindowOpen(StudyHost& host) {
  const char* zone = zoneString(readTimeZoneIndex(host::input(host, in::kTimeZone)));
  const DateTime local = host::hostTimeToZone(host, host.CurrentTime, zone);
  return isWindowOpen(windowBoundSecond(host::input(host, in::kRequestStartTime)),
                      secondOfDay(local),
                      windowBoundSecond(host::input(host, in::kRequestEndTime)));
}

}  // namespace ostrel

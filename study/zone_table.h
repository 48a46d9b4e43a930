// The "Time Zone" input's 29 zone strings, in the host's notation, by index. Row 7 is New York,
// the zone of every market-hours decision whatever the user chose.
#pragma once

#include <cstdint>

namespace ostrel {

constexpr std::int32_t kZoneCount = 29;

// The zone string of `index`; "" for rows 0 and 28 and for any index outside 0..28 (the
// readers answer -1 for a slot that holds no time zone). Never null.
const char* zoneString(std::int32_t index) noexcept;

}  // namespace ostrel

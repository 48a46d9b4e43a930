#include "study/zone_table.h"

#include "service/market_clock.h"

namespace ostrel {

namespace {

constexpr const char* kZones[kZoneCount] = {
    "",
    "HST-10",
    "AKST-09AKDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "PST-08PDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "MST-07",
    "MST-07MDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00",
    kNewYorkZone,
    "AST-04ADT+01,M3.2.0/02:00,M11.1.0/02:00",
    "UTC+00",
    "GMT+00BST+01,M3.5.0/01:00,M10.5.0/02:00",
    "CET+01CEST+01,M3.5.0/02:00,M10.5.0/03:00",
    "SAST+02",
    "EET+02EEST+01,M3.5.0/03:00,M10.5.0/04:00",
    "AST+03",
    "MSK+03",
    "MSK+04",
    "GST+04",
    "PKT+05",
    "IST+05:30",
    "BDT+06",
    "WIT+07",
    "HKT+08",
    "JST+09",
    "AEST+10",
    "AEST+10AEDT+01,M10.1.0/02:00,M4.1.0/03:00",
    "UTC+12",
    "NZST+12NZDT+01,M9.5.0/02:00,M4.1.0/03:00",
    "",
};

}  // namespace

const char* zoneString(std::int32_t index) noexcept {
  if (index < 0 || index >= kZoneCount) return "";
  return kZones[index];
}

}  // namespace ostrel

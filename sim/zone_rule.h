// ZoneRule: the host's time-zone notation, parsed, and conversions between UTC and a zone's
// wall clock. Pure arithmetic: no C library time zone data, no allocation, O(1) per conversion.
//
// The conversions that take a ZoneYearMemo keep the rule's switch instants for the last year
// they needed, so a run of conversions within one year is a few comparisons; they answer
// exactly what the plain ones answer. A memo belongs to one rule: start a fresh one (or
// reset it) when the rule changes.
//
// Notation: NAME OFFSET [DSTNAME [SHIFT] ,START,END], e.g.
// "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00".
// - NAME, DSTNAME: one or more ASCII letters.
// - OFFSET: sign, hours (1-2 digits), optional ":mm"; EAST POSITIVE ("-05" is five hours west).
//   The sign is required, so a POSIX "EST5" (west positive) is rejected rather than misread.
// - SHIFT: sign, hours, optional ":mm"; added to OFFSET while daylight time is in force; one
//   hour when omitted. Magnitudes of OFFSET and SHIFT are at most 24:00.
// - START, END: "Mm.w.d[/hh[:mm[:ss]]]": month 1-12, week 1-5 (5 = the last such weekday of the
//   month), weekday 0-6 (0 = Sunday), local wall-clock switch time (default 02:00, at most
//   24:00:00). START is read on the standard clock, END on the daylight clock. A START later in
//   the year than END means a southern zone whose summer spans the new year.
// - The empty text is UTC (offset 0, no daylight time). A DSTNAME without both rules, trailing
//   characters, the POSIX "Jn"/"n" day forms and quoted names are rejected.
//
// Date-times are microseconds since 1899-12-30 00:00 (see StudyHost's DateTime).
//
// Switch days, with a positive shift (the mirror image holds for a negative one):
// - Gap (spring forward, e.g. 02:00-02:59:59 on the US start day): a wall time that never
//   happens is read with the offset in force before the switch (standard time), so 02:30
//   gives the instant that the zone shows as 03:30 (as mktime with tm_isdst = -1 does).
// - Overlap (fall back, e.g. 01:00-01:59:59 on the US end day): an ambiguous wall time gives
//   its first occurrence, i.e. the earlier instant (daylight time).
// So utcToLocal(rule, localToUtc(rule, x)) == x for every wall time x outside a gap.
// Instants more than about 100,000 years from the epoch get the standard offset only, and the
// additions saturate at the int64 range, so no input value leads to undefined behaviour.
#pragma once

#include <cstdint>

namespace ostrel {
namespace sim {

// One daylight-saving switch: the week-th `weekday` of `month` at local wall-clock `time`.
struct ZoneSwitch {
  int month = 1;          // 1..12
  int week = 1;           // 1..5, 5 = the last such weekday of the month
  int weekday = 0;        // 0 = Sunday .. 6 = Saturday
  std::int64_t time = 0;  // microseconds after local midnight, 0..24:00:00
};

struct ZoneRule {
  std::int64_t std_offset = 0;  // microseconds east of UTC
  bool has_dst = false;
  std::int64_t dst_shift = 0;  // microseconds added to std_offset in daylight time
  ZoneSwitch dst_start;        // wall clock of standard time
  ZoneSwitch dst_end;          // wall clock of daylight time
};

// The daylight-time instants of one year of a rule (UTC), for the standard-time wall clocks in
// [year_begin, year_end). Empty as constructed.
struct ZoneYearMemo {
  std::int64_t year_begin = 1;
  std::int64_t year_end = 0;
  std::int64_t dst_start = 0;
  std::int64_t dst_end = 0;

  void reset() noexcept { *this = ZoneYearMemo(); }
};

// Parses `text` (null is treated as ""); on failure returns false and leaves `out` unchanged.
bool parseZoneRule(const char* text, ZoneRule& out) noexcept;

// The zone's wall-clock date-time at the UTC instant `utc`.
std::int64_t utcToLocal(const ZoneRule& rule, std::int64_t utc) noexcept;

// The UTC instant at which the zone's wall clock shows `local` (gap and overlap rules above).
std::int64_t localToUtc(const ZoneRule& rule, std::int64_t local) noexcept;

// The same conversions, with the switch instants kept in `memo` (see above).
std::int64_t utcToLocal(const ZoneRule& rule, std::int64_t utc, ZoneYearMemo& memo) noexcept;
std::int64_t localToUtc(const ZoneRule& rule, std::int64_t local, ZoneYearMemo& memo) noexcept;

}  // namespace sim
}  // namespace ostrel

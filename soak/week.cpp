#include "soak/week.h"

#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>

#include "mock/ny_time.h"
#include "soak/chart.h"
#include "soak/entry.h"
#include "soak/hiding.h"
#include "soak/memory.h"
#include "soak/service.h"

namespace ostrel::soak {

namespace {

constexpr const char* kNewYork = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr std::int64_t kBusyFrom = 9 * 3600 + 25 * 60;
constexpr std::int64_t kBusyTo = 23 * 3600 + 5 * 60;
constexpr std::int64_t kHeapGrowthPerDay = 64 * 1024;
constexpr std::int64_t kReloadSpx = 12 * 3600 + 7 * 60;
constexpr std::int64_t kReloadNdx = 6 * 3600;
constexpr std::int64_t kReaddNdx = 14 * 3600 + 13 * 60;
constexpr std::int64_t kTamperFrom = 10 * 3600 + 17 * 60;

// Each day, New York time: the SPX study hidden through a night stretch, through the window's
// opening, and while a majors history answer (after the hourly recalculation) and a profile
// answer are in flight; the NDX study while answers are in flight, for 3 s (shorter than its
// interval) to 5 minutes, and through the hour an autumn switch repeats. None reaches the next
// full hour or a reload.
constexpr HideStretch kHideSpx[] = {
    {2 * 3600 + 30 * 60, 600, false},
    {9 * 3600 + 20 * 60, 1200, false},
    {10 * 3600 + 1, 30, true},
    {15 * 3600 + 31 * 60, 45, true},
};
constexpr HideStretch kHideNdx[] = {
    {1 * 3600 + 30 * 60, 600, false}, {11 * 3600 + 1, 20, true},
    {13 * 3600 + 5 * 60, 300, true},  {16 * 3600 + 47 * 60 + 30, 3, true},
    {20 * 3600 + 15 * 60, 90, true},
};

// The two instances' profile records: four distinct blocks (or absent).
bool recordsShared(SoakChart& a, SoakChart& b) {
  const HeldRecords ra = heldRecords(*a.sim());
  const HeldRecords rb = heldRecords(*b.sim());
  void* const records[4] = {ra.gex, ra.greek, rb.gex, rb.greek};
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 4; ++j) {
      if (records[i] != nullptr && records[i] == records[j]) return true;
    }
  }
  return false;
}

const char* const kWeekdays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};

std::string dayLabel(std::int64_t ny_day) {
  const std::string date = mock::formatNewYork(mock::fromNewYork(ny_day, 12 * 3600)).substr(0, 10);
  return std::string(kWeekdays[((ny_day % 7) + 7) % 7]) + " " + date;
}

}  // namespace

bool runSoak(const SoakOptions& o, SoakResult& result, std::string& error) {
  const auto began = std::chrono::steady_clock::now();
  std::int64_t start = 0;
  if (!mock::parseClockText(o.start_date + " 00:00:00", start)) {
    error = "bad date " + o.start_date;
    return false;
  }
  const std::int64_t first_day = mock::toNewYork(start).day;
  const std::int64_t end =
      o.hours > 0 ? start + 3600LL * o.hours : mock::fromNewYork(first_day + o.days, 0);

  std::unique_ptr<SoakEntry> entry = o.platform ? makePlatformEntry(error) : makeDirectEntry();
  if (!entry) return false;
  // The NDX chart polls at an interval 2 s longer, so that its answers also fall on the hour
  // (into a full recalculation) and on the minutes of removals.
  ChartSetup spx{"SPX>ES", "SPX", 0, 1, 2, "ES", kNewYork, o.interval_seconds};
  ChartSetup ndx{"NDX gamma", "NDX", 1, 3, 2, "", "UTC+00", o.interval_seconds + 2};
  SoakService service(o);
  if (!service.start(error)) return false;

  SoakChart a(spx, o, *entry, service, result.violations);
  SoakChart b(ndx, o, *entry, service, result.violations);
  SoakChart* charts[2] = {&a, &b};
  HideSchedule hiding[2] = {HideSchedule(kHideSpx, std::size(kHideSpx)),
                            HideSchedule(kHideNdx, std::size(kHideNdx))};

  result.days.clear();
  result.days.push_back({dayLabel(first_day), {}, 0, 0});
  RequestCounters* counters = &result.days.back().counters;
  service.setCounters(counters);
  long calls = 0;
  long violations_before = 0;
  const auto closeDay = [&]() {
    SoakDay& day = result.days.back();
    day.heap_end = liveHeapBytes();
    day.rss_end = residentBytes();
    const std::size_t n = result.days.size();
    if (n >= 2 && day.heap_end > 0) {
      const std::int64_t growth = day.heap_end - result.days[n - 2].heap_end;
      if (growth > kHeapGrowthPerDay) {
        result.violations.add(
            calls, 0, "process",
            "live heap grew by " + std::to_string(growth / 1024) + " KiB on " + day.label);
      }
    }
    day.counters.violations = result.violations.count() - violations_before;
    violations_before = result.violations.count();
  };

  a.load(start, true, ++calls, *counters);
  b.load(start, true, ++calls, *counters);
  std::int64_t day_index = 0;
  bool tamper_due = false;
  for (std::int64_t t = start; t < end;) {
    const mock::NewYorkTime ny = mock::toNewYork(t);
    if (ny.day - first_day != day_index) {
      closeDay();
      day_index = ny.day - first_day;
      result.days.push_back({dayLabel(ny.day), {}, 0, 0});
      counters = &result.days.back().counters;
      service.setCounters(counters);
      if (o.progress) {
        std::fprintf(stderr, "soak: %s done, %ld violations so far\n",
                     result.days[result.days.size() - 2].label.c_str(), result.violations.count());
      }
    }
    bool first_call[2] = {false, false};
    if (ny.second == kReloadSpx && t != start) {
      a.remove(t, ++calls, *counters);
      a.load(t, /*new_bars=*/true, ++calls, *counters);
      first_call[0] = true;
    }
    if (ny.second == kReloadNdx && t != start) {
      b.remove(t, ++calls, *counters);
      b.load(t, /*new_bars=*/true, ++calls, *counters);
      first_call[1] = true;
    }
    if (ny.second == kReaddNdx) {
      b.remove(t, ++calls, *counters);
      b.load(t, /*new_bars=*/false, ++calls, *counters);
      first_call[1] = true;
    }
    if (o.tamper && ny.second == kTamperFrom) tamper_due = true;
    const bool hourly = t % 3600 == 0;
    for (int c = 0; c < 2; ++c) {
      SoakChart& chart = *charts[c];
      SoakChart& other = *charts[1 - c];
      const bool recalc = hourly || first_call[c] || t == start;
      bool hidden = false;
      if (recalc) {
        hiding[c].show();
      } else {
        hidden = hiding[c].hidden(t, ny.day, ny.second, chart.answerDue());
      }
      const CallKind kind = hidden   ? CallKind::kSuspended
                            : recalc ? CallKind::kFullRecalc
                                     : CallKind::kOrdinary;
      const std::uint64_t before = chartFingerprint(*other.sim());
      chart.call(t, kind, ++calls, *counters);
      if (chartFingerprint(*other.sim()) != before) {
        result.violations.add(calls, t, chart.instanceName(),
                              "the call changed the other chart (" + other.instanceName() + ")");
      }
    }
    if (recordsShared(a, b)) {
      result.violations.add(calls, t, a.instanceName(),
                            "a profile record is held twice (" + b.instanceName() + ")");
    }
    if (tamper_due && a.lastCallPlaced() && a.tamper()) tamper_due = false;
    t += ny.second >= kBusyFrom && ny.second < kBusyTo ? o.step_seconds : o.quiet_step_seconds;
  }
  a.finish();
  b.finish();
  closeDay();
  a.remove(end, ++calls, *counters);
  b.remove(end, ++calls, *counters);
  counters->violations += result.violations.count() - violations_before;

  result.title = "ostrel soak: " + std::to_string(result.days.size()) + " day(s) from " +
                 result.days.front().label + " New York, " + entry->name() +
                 " entry; charts SPX>ES (Classic 0dte GEX, both) and NDX (State 0dte gamma, UTC "
                 "chart), each hidden a few times a day; a call every " +
                 std::to_string(o.step_seconds) + " s from 09:25 to 23:05, every " +
                 std::to_string(o.quiet_step_seconds) + " s otherwise";
  for (const HideSchedule& h : hiding) {
    result.hides += h.started();
    result.hides_on_answer += h.startedWithAnswer();
  }
  result.fault_modes.assign(kSoakFaults, kSoakFaults + kSoakFaultModes);
  const char* kinds[kSoakKinds] = {"profile", "history", "conversion"};
  result.faults.clear();
  for (int k = 0; k < kSoakKinds; ++k) {
    SoakFaultRow row;
    row.kind = kinds[k];
    row.injected.assign(service.faults().injected[k],
                        service.faults().injected[k] + kSoakFaultModes);
    row.survived.assign(service.faults().survived[k],
                        service.faults().survived[k] + kSoakFaultModes);
    result.faults.push_back(row);
  }
  result.wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  return true;
}

}  // namespace ostrel::soak

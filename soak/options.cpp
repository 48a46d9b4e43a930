#include "soak/options.h"

#include <cstdlib>
#include <cstring>

namespace ostrel::soak {

const char kSoakUsage[] =
    "usage: ostrel-sim soak [options]\n"
    "  Runs New York sessions day after day: two charts (SPX converted to ES, NDX 0dte gamma in\n"
    "  the State package) against the local mock service, with hourly full recalculations, a\n"
    "  daily chart reload, a study removed and added again mid-session, each study hidden and\n"
    "  shown again a few times a day and every fault mode of the service in turn; checks the\n"
    "  invariants after every call and prints one table.\n"
    "  --start YYYY-MM-DD  first day, New York (default 2027-03-08, the week of the spring\n"
    "                      switch; 2027-11-01 is the week of the autumn switch)\n"
    "  --days N            days to run (default 7)\n"
    "  --hours N           run only N hours from the start\n"
    "  --step S            seconds between calls from 09:25 to 23:05 New York (default 1)\n"
    "  --quiet-step S      seconds between calls at other times (default 60)\n"
    "  --interval S        the study's request interval on the SPX chart, +2 on NDX (default 5)\n"
    "  --fault-every N     every Nth profile request gets the next fault (default 200)\n"
    "  --history-fault-every N, --conversion-fault-every N   (defaults 2 and 4)\n"
    "  --timeout S         the host's wait for one answer (default 0.25)\n"
    "  --seed N            market seed of the mock service (default 1)\n"
    "  --platform          call the study through the platform entry\n"
    "  --tamper            remove one recorded drawing behind the study's back each day\n"
    "  --quiet             no progress line\n";

namespace {

bool readLong(const char* text, long low, long high, long& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < low || v > high) return false;
  out = v;
  return true;
}

}  // namespace

bool parseSoakOptions(int argc, char** argv, SoakOptions& o, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string opt = argv[i];
    if (opt == "--platform") {
      o.platform = true;
      continue;
    }
    if (opt == "--tamper") {
      o.tamper = true;
      continue;
    }
    if (opt == "--quiet") {
      o.progress = false;
      continue;
    }
    if (i + 1 >= argc) {
      error = "unknown option or missing value: " + opt;
      return false;
    }
    const char* value = argv[++i];
    long n = 0;
    bool ok = true;
    if (opt == "--start") {
      ok = std::strlen(value) == 10;
      o.start_date = value;
    } else if (opt == "--days") {
      ok = readLong(value, 1, 60, n);
      o.days = static_cast<int>(n);
    } else if (opt == "--hours") {
      ok = readLong(value, 1, 24 * 60, n);
      o.hours = static_cast<int>(n);
    } else if (opt == "--step") {
      ok = readLong(value, 1, 60, n) && 60 % n == 0;
      o.step_seconds = static_cast<int>(n);
    } else if (opt == "--quiet-step") {
      ok = readLong(value, 1, 300, n) && 300 % n == 0;
      o.quiet_step_seconds = static_cast<int>(n);
    } else if (opt == "--interval") {
      ok = readLong(value, 1, 3600, n);
      o.interval_seconds = static_cast<int>(n);
    } else if (opt == "--fault-every") {
      ok = readLong(value, 0, 1000000, n);
      o.profile_fault_every = static_cast<int>(n);
    } else if (opt == "--history-fault-every") {
      ok = readLong(value, 0, 1000000, n);
      o.history_fault_every = static_cast<int>(n);
    } else if (opt == "--conversion-fault-every") {
      ok = readLong(value, 0, 1000000, n);
      o.conversion_fault_every = static_cast<int>(n);
    } else if (opt == "--timeout") {
      char* end = nullptr;
      o.timeout_seconds = std::strtod(value, &end);
      ok = end != value && *end == '\0' && o.timeout_seconds > 0.0 && o.timeout_seconds <= 30.0;
    } else if (opt == "--seed") {
      ok = readLong(value, 0, 1L << 30, n);
      o.seed = static_cast<std::uint64_t>(n);
    } else {
      error = "unknown option " + opt;
      return false;
    }
    if (!ok) {
      error = "bad value for " + opt + ": " + value;
      return false;
    }
  }
  if (o.quiet_step_seconds % o.step_seconds != 0) {
    error = "--quiet-step must be a multiple of --step";
    return false;
  }
  return true;
}

}  // namespace ostrel::soak

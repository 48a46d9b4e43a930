#include "demo/options.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "mock/faults.h"

namespace ostrel::demo {

const char kDemoUsage[] =
    "usage: ostrel-sim demo [options]\n"
    "  --ticker T        underlying (default SPX; also NDX, SPY, QQQ, AAPL, ES_SPX, NQ_NDX)\n"
    "  --package P       classic|state (default classic; state for gamma/delta kinds)\n"
    "  --kind K          full|zero|one|gamma|gamma_one|delta|delta_one (default full)\n"
    "  --display D       volume|oi|both (default both)\n"
    "  --future F        futures target, e.g. ES or NQ; 'none' disables (default ES)\n"
    "  --out DIR         output directory (default out/demo)\n"
    "  --seed N          market seed of the mock service (default 1)\n"
    "  --step S          simulated seconds between study calls (default 1)\n"
    "  --interval S      the study's request interval in seconds (default 5)\n"
    "  --date YYYY-MM-DD session date (default 2026-04-14)\n"
    "  --from HH:MM --to HH:MM   session part to run, New York time (default 09:30-16:00)\n"
    "  --recalc MIN      full recalculation every MIN minutes (default 60; 0: start and end only)\n"
    "  --faults LIST     comma-separated faults (slow,silent,truncated,404,broken,badkey,500)\n"
    "                    injected in turn into every N-th profile request\n"
    "  --fault-every N   (default 25)\n"
    "  --no-progress     no progress bar\n";

namespace {

bool readInt(const std::string& text, long long& out) {
  char* end = nullptr;
  out = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && end != nullptr && *end == '\0';
}

bool readClock(const std::string& text, int& second) {
  int h = 0, m = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d:%d%c", &h, &m, &tail) != 2) return false;
  if (h < 0 || h > 23 || m < 0 || m > 59) return false;
  second = h * 3600 + m * 60;
  return true;
}

int indexOf(const std::string& value, std::initializer_list<const char*> names) {
  int i = 0;
  for (const char* name : names) {
    if (value == name) return i;
    ++i;
  }
  return -1;
}

}  // namespace

bool parseDemoOptions(int argc, char** argv, DemoOptions& o, std::string& error) {
  bool package_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string opt = argv[i];
    if (opt == "--no-progress") {
      o.progress = false;
      continue;
    }
    if (i + 1 >= argc) {
      error = "missing value after " + opt;
      return false;
    }
    const std::string value = argv[++i];
    long long n = 0;
    bool ok = true;
    if (opt == "--ticker") {
      o.ticker = value;
    } else if (opt == "--package") {
      o.package = indexOf(value, {"classic", "state"});
      ok = o.package >= 0;
      package_given = true;
    } else if (opt == "--kind") {
      o.kind = indexOf(value, {"full", "zero", "one", "gamma", "gamma_one", "delta", "delta_one"});
      ok = o.kind >= 0;
    } else if (opt == "--display") {
      o.display = indexOf(value, {"volume", "oi", "both"});
      ok = o.display >= 0;
    } else if (opt == "--future") {
      o.future = value == "none" ? "" : value;
    } else if (opt == "--out") {
      o.out_dir = value;
    } else if (opt == "--seed") {
      ok = readInt(value, n);
      o.seed = static_cast<std::uint64_t>(n);
    } else if (opt == "--step" || opt == "--speed") {
      ok = readInt(value, n) && n >= 1 && n <= 3600;
      o.step_seconds = static_cast<int>(n);
    } else if (opt == "--interval") {
      ok = readInt(value, n) && n >= 0 && n <= 86400;
      o.interval_seconds = static_cast<int>(n);
    } else if (opt == "--date") {
      int y = 0, m = 0, d = 0;
      char tail = 0;
      ok = std::sscanf(value.c_str(), "%d-%d-%d%c", &y, &m, &d, &tail) == 3 && m >= 1 && m <= 12 &&
           d >= 1 && d <= 31 && y >= 1971 && y <= 2100;
      o.date = value;
    } else if (opt == "--from") {
      ok = readClock(value, o.start_second);
    } else if (opt == "--to") {
      ok = readClock(value, o.end_second);
    } else if (opt == "--recalc") {
      ok = readInt(value, n) && n >= 0 && n <= 1440;
      o.recalc_minutes = static_cast<int>(n);
    } else if (opt == "--faults") {
      o.faults.clear();
      std::size_t start = 0;
      while (ok && start <= value.size()) {
        const std::size_t comma = value.find(',', start);
        const std::string name =
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        mock::Fault fault = mock::Fault::kNone;
        ok = mock::parseFault(name, fault);
        if (ok && fault != mock::Fault::kNone) o.faults.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (opt == "--fault-every") {
      ok = readInt(value, n) && n >= 1 && n <= 1000000;
      o.fault_every = static_cast<int>(n);
    } else {
      error = "unknown option " + opt;
      return false;
    }
    if (!ok) {
      error = "bad value for " + opt + ": " + value;
      return false;
    }
  }
  if (!package_given && o.kind >= 3) o.package = 1;
  if (o.end_second <= o.start_second) {
    error = "--to must lie after --from";
    return false;
  }
  return true;
}

}  // namespace ostrel::demo

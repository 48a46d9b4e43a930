#include "soak/command.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mock/ny_time.h"
#include "soak/week.h"

namespace ostrel::soak {

namespace {

double cpuSeconds(int who) {
  struct rusage usage {};
  if (getrusage(who, &usage) != 0) return 0.0;
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string newYorkText(std::int64_t unix_seconds) {
  return mock::formatNewYork(unix_seconds) + " NY";
}

constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kNoThreadCache = "glibc.malloc.tcache_count=0";

// glibc's per-thread cache holds freed blocks that its in-use figure still counts, which would
// blur the heap figures by kilobytes: the soak runs with the cache off, re-executing itself once
// to set that up (the tunable is read at start-up only).
void runWithoutThreadCache(char** argv) {
#if defined(__GLIBC__) && defined(__linux__)
  const char* current = std::getenv(kTunables);
  if (current != nullptr && std::strstr(current, kNoThreadCache) != nullptr) return;
  std::string value = current != nullptr && *current != '\0' ? std::string(current) + ":" : "";
  value += kNoThreadCache;
  if (setenv(kTunables, value.c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv - 1);  // argv[-1] is the program itself; back on failure
#else
  (void)argv;
#endif
}

}  // namespace

int runSoakCommand(int argc, char** argv) {
  SoakOptions options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kSoakUsage, stdout);
      return 0;
    }
  }
  runWithoutThreadCache(argv);
  std::string error;
  if (!parseSoakOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "ostrel-sim soak: %s\n%s", error.c_str(), kSoakUsage);
    return 2;
  }
  SoakResult result;
  if (!runSoak(options, result, error)) {
    std::fprintf(stderr, "ostrel-sim soak: %s\n", error.c_str());
    return 2;
  }
  result.cpu_seconds = cpuSeconds(RUSAGE_SELF);
  result.service_cpu_seconds = cpuSeconds(RUSAGE_CHILDREN);  // reaped when the run ended
  printSoakReport(stdout, result, &newYorkText);
  std::fflush(stdout);
  return result.violations.count() == 0 ? 0 : 1;
}

}  // namespace ostrel::soak

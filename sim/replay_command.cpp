#include "sim/replay_command.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "sim/allocation_faults.h"
#include "sim/replay_run.h"
#include "sim/replay_scenario.h"
#include "sim/study_loader.h"
#if defined(_WIN32)
#include "sim/study_library.h"
#endif

namespace ostrel::sim {
namespace {

void reportError(const char* message) {
  std::string line(message);
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::fprintf(stderr, "ostrel-sim replay: %s\n", line.c_str());
}

// N of --fail-allocation: a whole number from 1 up, digits only.
bool readAllocationNumber(const char* text, std::uint64_t& number) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value == 0) return false;
  number = value;
  return true;
}

}  // namespace

// argv[0] is the subcommand's name.
int runReplayCommand(int argc, char** argv) {
  bool platform = false;
  ReplayOptions options;
  const char* scenario_path = nullptr;
  bool usage = false;
  for (int i = 1; i < argc && !usage; ++i) {
    if (std::strcmp(argv[i], "--platform") == 0 && !platform) {
      platform = true;
    } else if (std::strcmp(argv[i], "--fail-allocation") == 0 && !options.count_allocations &&
               i + 1 < argc) {
      options.count_allocations = true;
      if (!readAllocationNumber(argv[++i], options.fail_allocation)) {
        reportError("--fail-allocation takes a whole number from 1 up");
        return 2;
      }
    } else if (scenario_path == nullptr && argv[i][0] != '-') {
      scenario_path = argv[i];
    } else {
      usage = true;
    }
  }
  if (usage || scenario_path == nullptr) {
    std::fprintf(stderr,
                 "usage: ostrel-sim replay [--platform] [--fail-allocation N] SCENARIO.json\n");
    return 2;
  }
  if (options.count_allocations && !allocationHooksInstalled()) {
    reportError("--fail-allocation: this build of ostrel-sim has no allocation hooks (Linux only)");
    return 1;
  }
#if defined(_WIN32)
  // As the platform does: the study comes from a DLL, not from this executable.
  StudyLibrary library;
  const bool loaded = platform ? library.loadBesideExecutable(StudyLibrary::kPlatformFileName, true)
                               : library.loadBesideExecutable();
  if (!loaded) {
    reportError(library.error().c_str());
    return 1;
  }
  const StudyEntry study = library.entry();
#else
  const StudyEntry study = platform ? linkedPlatformStudy() : linkedStudy();
#endif
  std::string trace;
  try {
    trace = runScenario(loadScenario(scenario_path), study, options);
  } catch (const std::exception& e) {
    reportError(e.what());
    return 1;
  }
  std::fwrite(trace.data(), 1, trace.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace ostrel::sim

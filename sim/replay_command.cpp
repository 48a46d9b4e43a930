#include "sim/replay_command.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

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

}  // namespace

// argv[0] is the subcommand's name.
int runReplayCommand(int argc, char** argv) {
  const bool platform = argc == 3 && std::strcmp(argv[1], "--platform") == 0;
  if (argc != 2 && !platform) {
    std::fprintf(stderr, "usage: ostrel-sim replay [--platform] SCENARIO.json\n");
    return 2;
  }
  const char* scenario_path = argv[argc - 1];
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
    trace = runScenario(loadScenario(scenario_path), study);
  } catch (const std::exception& e) {
    reportError(e.what());
    return 1;
  }
  std::fwrite(trace.data(), 1, trace.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace ostrel::sim

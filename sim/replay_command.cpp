#include "sim/replay_command.h"

#include <cstdio>
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
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-sim replay SCENARIO.json\n");
    return 2;
  }
#if defined(_WIN32)
  // As the platform does: the study comes from the DLL, not from this executable.
  StudyLibrary library;
  if (!library.loadBesideExecutable()) {
    reportError(library.error().c_str());
    return 1;
  }
  const StudyEntry study = library.entry();
#else
  const StudyEntry study = linkedStudy();
#endif
  std::string trace;
  try {
    trace = runScenario(loadScenario(argv[1]), study);
  } catch (const std::exception& e) {
    reportError(e.what());
    return 1;
  }
  std::fwrite(trace.data(), 1, trace.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace ostrel::sim

// ostrel-sim: runs the study inside the simulated host. One entry per subcommand below; each
// handler gets argv from the subcommand's name on.
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "sim/parse_command.h"
#include "sim/replay_command.h"
#include "sim/study_info_command.h"
#if defined(OSTREL_HAVE_DEMO)
#include "demo/command.h"
#endif
#if defined(OSTREL_HAVE_SOAK)
#include "soak/command.h"
#endif

namespace {

struct Command {
  const char* name;
  int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"replay", &ostrel::sim::runReplayCommand},         // a scenario's calls, traced
    {"parse", &ostrel::sim::runParseCommand},           // one answer parser
    {"study-info", &ostrel::sim::runStudyInfoCommand},  // what the study's DLL declares
#if defined(OSTREL_HAVE_DEMO)
    {"demo", &ostrel::demo::runDemoCommand},
#endif
#if defined(OSTREL_HAVE_SOAK)
    {"soak", &ostrel::soak::runSoakCommand},
#endif
};

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // Traces are compared byte for byte: no CR added before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc >= 2) {
    for (const Command& command : kCommands) {
      if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "ostrel-sim: unknown command '%s'\n", argv[1]);
  }
  std::fprintf(stderr, "usage: ostrel-sim COMMAND ...; commands:");
  for (const Command& command : kCommands) std::fprintf(stderr, " %s", command.name);
  std::fprintf(stderr, "\n");
  return 2;
}

#include "sim/study_info_command.h"

#include <cstdio>
#include <cstring>

#include "sim/study_loader.h"
#if defined(_WIN32)
#include "sim/study_library.h"
#endif

namespace ostrel::sim {

// argv[0] is the subcommand's name.
int runStudyInfoCommand(int argc, char** argv) {
  const bool platform = argc == 2 && std::strcmp(argv[1], "--platform") == 0;
  if (argc != 1 && !platform) {
    std::fprintf(stderr, "usage: ostrel-sim study-info [--platform]\n");
    return 2;
  }
#if defined(_WIN32)
  const char* file = platform ? StudyLibrary::kPlatformFileName : StudyLibrary::kFileName;
  StudyLibrary library;
  if (!library.loadBesideExecutable(file, platform)) {
    std::fprintf(stderr, "ostrel-sim study-info: %s\n", library.error().c_str());
    return 1;
  }
  const StudyEntry study = library.entry();
#else
  const char* file = "linked";
  const StudyEntry study = platform ? linkedPlatformStudy() : linkedStudy();
#endif
  std::printf("%s: %s, interface version %d\n", file, study.name(),
              static_cast<int>(study.version()));
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace ostrel::sim

// `ostrel-sim study-info [--platform]`: names the study that `replay` (with the same flag) runs
// and what it declares, one line on standard output: "FILE: NAME, interface version N". On
// Windows FILE is the DLL loaded from beside the executable, as replay loads it; elsewhere the
// study linked into the simulator ("linked"). Exit status 1 when the DLL cannot be loaded.
#pragma once

namespace ostrel::sim {

int runStudyInfoCommand(int argc, char** argv);

}  // namespace ostrel::sim

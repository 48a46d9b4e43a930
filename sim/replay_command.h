// `ostrel-sim replay SCENARIO.json`: prints the trace on standard output; a scenario that
// cannot be read or does not fit the format gives one line on standard error and exit status 1.
#pragma once

namespace ostrel::sim {

int runReplayCommand(int argc, char** argv);

}  // namespace ostrel::sim

// `ostrel-sim demo`: the study end to end against the local mock data service over a simulated
// New York session, then the chart as SVG and PNG and a short summary on standard output.
// argv[0] is the subcommand's name. Exit status 0 on success, 2 for bad options, 1 when the
// service cannot start or a picture cannot be written.
#pragma once

namespace ostrel::demo {

int runDemoCommand(int argc, char** argv);

}  // namespace ostrel::demo

// `ostrel-sim soak`: see soak/week.h; prints the table of soak/report.h and exits 1
// on any violation, 2 when the run cannot start or an option is wrong.
#pragma once

namespace ostrel::soak {

int runSoakCommand(int argc, char** argv);

}  // namespace ostrel::soak

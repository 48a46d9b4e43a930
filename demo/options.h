// Options of `ostrel-sim demo`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::demo {

struct DemoOptions {
  std::string ticker = "SPX";
  int package = 0;            // "Package" input: 0 Classic, 1 State
  int kind = 0;               // "Greek" input: 0 full .. 6 delta_one
  int display = 2;            // "GEX Volume and/or OI Display": 0 Volume, 1 OI, 2 Both
  std::string future = "ES";  // futures target; empty: no conversion
  std::string out_dir = "out/demo";
  std::uint64_t seed = 1;
  int step_seconds = 1;      // simulated seconds between two calls of the study
  int interval_seconds = 5;  // the study's "Request Interval (seconds)"
  std::string date = "2026-04-14";
  int start_second = 9 * 3600 + 30 * 60;  // New York time of day
  int end_second = 16 * 3600;
  int recalc_minutes = 60;          // a full recalculation this often (0: only at start and end)
  std::vector<std::string> faults;  // injected in turn into every `fault_every`-th profile request
  int fault_every = 25;
  double timeout_seconds = 2.0;  // the host's wait for one answer
  std::string api_key = "demo-key";
  bool progress = true;
};

extern const char kDemoUsage[];

// False with a one-line reason for an unknown option or a bad value.
bool parseDemoOptions(int argc, char** argv, DemoOptions& options, std::string& error);

}  // namespace ostrel::demo

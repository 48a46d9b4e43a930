// Options of `ostrel-sim soak`.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel::soak {

struct SoakOptions {
  std::string start_date = "2027-03-08";  // New York; a Monday, the week of the spring switch
  int days = 7;
  int hours = 0;                   // > 0: run only this many hours from the start
  int step_seconds = 1;            // between calls from 09:25 to 23:05 New York (divides 60)
  int quiet_step_seconds = 60;     // between calls at other times (divides 300)
  int interval_seconds = 5;        // "Request Interval (seconds)" on the SPX chart; NDX +2
  int profile_fault_every = 200;   // every Nth profile request gets the next fault mode
  int history_fault_every = 2;     // every Nth majors history request
  int conversion_fault_every = 4;  // every Nth futures conversion request
  double timeout_seconds = 0.25;   // the host's wait for one answer
  int slow_ms = 60;                // the slow fault's delay (within the host's wait)
  int silent_ms = 1500;            // the silent fault's silence (beyond it)
  std::uint64_t seed = 1;
  std::string api_key = "soak-key-5d1e9f3a";
  bool platform = false;  // call the study through the platform entry
  bool tamper = false;    // remove a recorded drawing behind the study's back once a day
  bool progress = true;
};

extern const char kSoakUsage[];

// False with a one-line reason for an unknown option or a bad value.
bool parseSoakOptions(int argc, char** argv, SoakOptions& options, std::string& error);

}  // namespace ostrel::soak

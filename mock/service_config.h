// Settings of one mock service instance (command-line options of ostrel-mock-service).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mock/faults.h"

namespace ostrel::mock {

struct ServiceConfig {
  std::string host = "127.0.0.1";  // loopback unless asked otherwise
  int port = 0;                    // 0: any free port
  std::uint64_t seed = 1;
  std::int64_t start_time = 0;  // Unix seconds; 0: the wall clock
  double speed = 1.0;           // clock acceleration; 0 freezes it
  std::vector<std::string> api_keys{"demo-key"};
  Fault fault = Fault::kNone;  // applied to every request
  int slow_ms = 1500;
  int silent_ms = 30000;
  std::string record_dir;  // recorded answers, served instead of the model
  std::string cert_file;   // both set: HTTPS
  std::string key_file;
  bool verbose = false;  // one line per request on stderr
};

}  // namespace ostrel::mock

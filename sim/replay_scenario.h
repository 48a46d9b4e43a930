// Replay scenarios: the JSON file that `ostrel-sim replay` runs (fields, defaults and meaning
// are those of the replay contract; every field is optional). Parsing checks everything
// up front, files named by {"file": ...} included, so a scenario that parses runs to the end.
//
// Errors are ScenarioError with a one-line message that names the field, e.g.
// `calls[2].bar_count: expected an integer from 0 to 100000`.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/study_input.h"
#include "sim/sim_host.h"

namespace ostrel::sim {

class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Charts larger than this are refused: 60 subgraphs keep a value and a colour per bar.
constexpr std::int32_t kMaxBarCount = 100000;

// One input value of a scenario.
struct InputWrite {
  std::int32_t index = 0;
  std::string where;  // "inputs.7", for messages raised while writing
  // A bare number or boolean takes the type that the defaults call declared for the slot.
  bool as_declared = false;
  InputType type = InputType::kNone;  // when !as_declared
  double number = 0.0;                // numbers; a boolean as 0 or 1
  std::optional<std::string> text;    // text type; nullopt: a text slot without text
};

struct ChartSetup {
  std::string host_zone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
  DateTime bar_start = 0;  // default 2026-03-10 09:30:00, set by the parser
  std::int64_t bar_seconds = 60;
  std::int32_t bar_count = 390;
  float tick = 0.25f;
  std::int32_t host_build = 2911;
  std::int32_t chart_id = 1;
};

struct ScenarioCall {
  std::optional<DateTime> time;
  std::optional<DateTime> clock;
  std::optional<DateTime> alt_clock;
  std::int32_t use_alt_clock = 0;
  bool full_recalc = false;
  bool removal = false;
  bool suspended = false;
  std::optional<std::int32_t> bar_count;
  std::optional<std::int32_t> current_bar;
  std::optional<std::int32_t> recalc_from_bar;
  std::vector<InputWrite> inputs;
  std::vector<std::int32_t> stale_drawings;
  CallScript script;  // response, conversion answer and injected faults
};

struct Scenario {
  ChartSetup chart;
  std::vector<InputWrite> inputs;
  std::vector<ScenarioCall> calls;
};

// `base_dir` resolves {"file": PATH} responses ("" = current directory).
Scenario parseScenario(const std::string& json, const std::string& base_dir);
Scenario loadScenario(const std::string& path);

// The whole file as bytes; throws ScenarioError naming the path when it cannot be read.
std::string readFileBytes(const std::string& path);

}  // namespace ostrel::sim

// RecordOverrides: what the platform entry's fuzz target changes in the platform's record for
// one call, after the simulated platform presented it: scalar fields (any value), raw input type
// and value bytes (a text goes through SetString, so no pointer is ever forged), and fewer inputs
// or subgraphs than the record holds.
//
// apply() writes them into the record and shrinks its arrays; restore() gives the arrays back
// their full size after the call, so that the simulated platform reads back what it owns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform_sdk.h"

namespace ostrel::fuzz {

struct RawInput {
  std::int32_t slot = 0;
  unsigned char type = 0;
  unsigned char value[16] = {};
  std::string text;  // for the text type
};

struct RecordOverrides {
  std::optional<std::int32_t> array_size;
  std::optional<std::int32_t> update_start;
  std::optional<float> tick;
  std::optional<std::int64_t> now;
  std::optional<std::pair<std::int32_t, std::int64_t>> replay;  // ReplayStatus, its clock
  std::optional<std::int32_t> earliest;
  std::optional<std::int32_t> request_id;
  std::int32_t inputs = -1;  // -1: all
  std::int32_t subgraphs = -1;
  std::vector<RawInput> raw;

  // The arrays as they were before apply(), for restore().
  struct Held {
    s_SCInput_145* inputs = nullptr;
    int input_count = 0;
    s_SCSubgraph_260* subgraphs = nullptr;
    int subgraph_count = 0;
  };
  Held apply(s_sc& sc) const;
  static void restore(s_sc& sc, const Held& held);
};

}  // namespace ostrel::fuzz

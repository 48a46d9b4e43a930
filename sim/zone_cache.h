// ZoneCache: the simulated host's zone conversions. Zone texts are parsed once and kept, each
// with the switch instants of the year it last converted in, so a conversion in a steady run of
// calls is a text comparison and a few additions.
//
// Edges: a null or empty zone text means the host's own zone (time unchanged); a text that is
// not a zone leaves the time unchanged and answers false. At most kLimit distinct texts are
// kept; one more drops them all (the study uses two or three).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/zone_rule.h"

namespace ostrel::sim {

class ZoneCache {
 public:
  static constexpr std::size_t kLimit = 64;

  // False (nothing changed) when `zone` is not a zone text.
  bool setHostZone(const char* zone);

  // Host wall time <-> wall time of `zone`, through UTC. `t` is left unchanged when false.
  bool convert(std::int64_t& t, const char* zone, bool to_zone);

 private:
  struct Entry {
    std::string text;
    bool valid = false;
    ZoneRule rule;
    ZoneYearMemo memo;
  };

  Entry* find(const char* zone);

  ZoneRule host_;
  ZoneYearMemo host_memo_;
  std::vector<Entry> entries_;
  std::size_t last_ = 0;  // the entry found last, tried first
};

}  // namespace ostrel::sim

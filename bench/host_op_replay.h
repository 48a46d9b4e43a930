// Records the host operations that one study call makes and replays them bare, so that a
// figure can be split into the host's share and the study's own. Only the operations an
// ordinary update call makes are replayed (stored values, zone conversions, bar look-up); a
// call that logs, draws or sends is reported as not replayable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/study_host.h"

namespace ostrel::bench {

struct HostOpCall {
  enum class Kind {
    kStoredInt,
    kSetStoredInt,
    kStoredFloat,
    kStoredTime,
    kStoredText,
    kStoredPointer,
    kSetStoredPointer,
    kHostTimeToZone,
    kZoneTimeToHost,
    kBarIndexAt,
    kOther,
  };
  Kind kind = Kind::kOther;
  std::int32_t key = 0;  // stored-value key, or the chart of BarIndexAt
  std::int32_t value = 0;
  DateTime time = 0;
  std::string zone;
  void* pointer = nullptr;
};

// Runs `function` once on `host` with recording operations installed, then restores the
// host's own operations. The function runs for real: its effects stay.
std::vector<HostOpCall> recordHostOps(StudyHost& host, void (*function)(StudyHost&));

// True when every recorded call can be replayed.
bool replayable(const std::vector<HostOpCall>& calls);

// Makes the recorded calls again through the host's current operations.
void replayHostOps(StudyHost& host, const std::vector<HostOpCall>& calls);

}  // namespace ostrel::bench

// Records the host operations that one study call makes and replays them bare, so that a
// figure can be split into the host's share and the study's own. Stored values, zone
// conversions, the bar look-up and the drawing calls are recorded with their arguments; a call
// that logs, finds drawings or sends is reported as not replayable. replayHostOps repeats
// drawing calls with the numbers as recorded; a replay that must follow the host's fresh
// drawing numbers from round to round maps them itself (bench/pass_replay.h).
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
    kPlaceDrawing,
    kRemoveDrawing,  // value: the drawing number
    kRemoveStudyDrawings,
    kOther,
  };
  Kind kind = Kind::kOther;
  std::int32_t key = 0;  // stored-value key, or the chart of BarIndexAt
  std::int32_t value = 0;
  DateTime time = 0;
  std::string zone;
  void* pointer = nullptr;
  DrawingSpec spec;         // kPlaceDrawing: the record as the study handed it over
  std::int32_t result = 0;  // kPlaceDrawing: the number the host gave (0: not placed)
};

// Runs `function` once on `host` with recording operations installed, then restores the
// host's own operations. The function runs for real: its effects stay.
std::vector<HostOpCall> recordHostOps(StudyHost& host, void (*function)(StudyHost&));
std::vector<HostOpCall> recordHostOps(StudyHost& host, void (*function)(StudyHost&, void*),
                                      void* context);

// True when every recorded call can be replayed.
bool replayable(const std::vector<HostOpCall>& calls);

// Makes the recorded calls again through the host's current operations.
void replayHostOps(StudyHost& host, const std::vector<HostOpCall>& calls);

}  // namespace ostrel::bench

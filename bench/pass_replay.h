// PassReplay: the exact sequence of host operations that one render pass makes (drawing calls
// and the stored values of the drawing slots alike), replayed bare round after round.
//
// Built from two consecutive recorded passes: a drawing number that the later pass removes,
// adjusts or stores refers to a placement of the earlier pass or of itself, and is replayed as
// the number the host gave that placement in the previous or the current round, so every round
// removes what the round before placed, as the study does. Other numbers are replayed as
// recorded. A pass that logs, finds drawings or sends is not replayable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/host_op_replay.h"
#include "host/study_host.h"

namespace ostrel::bench {

class PassReplay {
 public:
  // `earlier` and `pass` are consecutive passes; the host holds what `pass` placed.
  PassReplay(const std::vector<HostOpCall>& earlier, const std::vector<HostOpCall>& pass);

  bool replayable() const noexcept { return replayable_; }
  std::size_t operations() const noexcept { return steps_.size(); }
  std::size_t placements() const noexcept { return specs_.size(); }
  std::size_t storedValueOperations() const noexcept { return stored_; }

  // One round of the pass's host operations through the host's current operations.
  void run(StudyHost& host);

 private:
  enum class Ref : std::uint8_t { kRaw, kPrevious, kCurrent };
  struct Step {
    HostOpCall::Kind kind;
    Ref ref;             // how `value` (a drawing number) is replayed
    std::int32_t key;    // stored-value key or chart
    std::int32_t value;  // the raw value, or the placement index that `ref` names
    std::int32_t extra;  // kPlaceDrawing: its placement index; kRemoveStudyDrawings: flags
  };

  std::int32_t resolve(Ref ref, std::int32_t value) const noexcept;

  std::vector<Step> steps_;
  std::vector<DrawingSpec> specs_;
  std::vector<std::int32_t> previous_;  // numbers the previous round's placements got
  std::vector<std::int32_t> current_;
  std::size_t stored_ = 0;
  bool replayable_ = true;
};

}  // namespace ostrel::bench

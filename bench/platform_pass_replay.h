// PlatformPassReplay: the platform calls that one render pass makes through the binding
// (UseTool, the drawing deletions and the persistent ints of the drawing slots), recorded at the
// platform's record and replayed bare round after round, as PassReplay does for the StudyHost's
// operations: a drawing number of a placement in the previous or the current round is replayed
// as the number that placement got, so each round removes what the round before placed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform_sdk.h"

namespace ostrel::bench {

class PlatformPassReplay {
 public:
  enum class Kind : std::uint8_t { kUseTool, kDelete, kDeleteUserDrawn, kGetInt, kSetInt, kOther };

  struct Call {
    Kind kind = Kind::kOther;
    int a = 0;       // chart, key
    int b = 0;       // which drawing tool, value
    int c = 0;       // line number
    int number = 0;  // kUseTool: the number the platform answered
    s_UseTool tool;
  };

  // Records the platform calls of `pass` (run once) on `sc`, through its current operations.
  static std::vector<Call> record(s_sc& sc, void (*pass)(void*), void* context);

  PlatformPassReplay(const std::vector<Call>& earlier, const std::vector<Call>& pass);
  bool replayable() const noexcept { return replayable_; }
  std::size_t operations() const noexcept { return steps_.size(); }

  void run(s_sc& sc);

 private:
  enum class Ref : std::uint8_t { kRaw, kPrevious, kCurrent };
  struct Step {
    Kind kind;
    Ref ref;
    int a;
    int b;
    int value;  // raw value or placement index
    int placement;
  };
  int resolve(Ref ref, int value) const noexcept;

  std::vector<Step> steps_;
  std::vector<s_UseTool> tools_;
  std::vector<int> previous_;
  std::vector<int> current_;
  bool replayable_ = true;
};

}  // namespace ostrel::bench

// ParseOutcome: what a profile parser tells the scheduler to do next.
#pragma once

#include <cstdint>

namespace ostrel {

enum class ParseOutcome : std::int32_t {
  filled = 0,  // the record holds the new profile: draw it
  retry = 1,   // nothing usable: remove the drawings, keep polling
  halt = 2,    // stop requesting until the next full recalculation
};

}  // namespace ostrel

// A process-wide heap counter for the benchmarks: every malloc, calloc, realloc and operator
// new in the benchmark binary goes through it, so allocations made by std containers, by
// HostString (which uses the C heap) and by RapidJSON's allocator are all seen.
//
// Counting can be suspended (AllocPause) so that a benchmark charges the study only for its own
// allocations and not for the simulated host's bookkeeping. Live bytes use the C heap's usable
// size, so they are an upper bound of what was asked for. Counters are process-wide and not
// synchronised beyond relaxed atomics: benchmarks here run on one thread.
#pragma once

#include <cstdint>

namespace ostrel::bench {

struct AllocTotals {
  std::uint64_t allocations = 0;  // malloc, calloc, operator new, and realloc of a null block
  std::uint64_t reallocations = 0;
  std::uint64_t frees = 0;
  std::int64_t live_bytes = 0;  // allocated minus freed, usable sizes, counted or not
};

// False on a C library the counter cannot hook; every count then reads 0.
bool allocCounterActive() noexcept;
AllocTotals allocTotals() noexcept;

// Counts of the allocations made while an AllocScope is alive (and not paused).
class AllocScope {
 public:
  AllocScope() noexcept;
  AllocTotals delta() const noexcept;

 private:
  AllocTotals start_;
};

// Switches the counter off entirely (counts and live bytes) for the scope's duration, so that a
// long measurement pays nothing for it; nests. Live bytes are unreliable afterwards: use
// heapInUseBytes() across such a scope.
class AllocOff {
 public:
  AllocOff() noexcept;
  ~AllocOff();
  AllocOff(const AllocOff&) = delete;
  AllocOff& operator=(const AllocOff&) = delete;
};

// Bytes in use in the C heap as the allocator itself reports them (0 where it cannot).
double heapInUseBytes() noexcept;

// Suspends counting (not live bytes) for the scope's duration; nests.
class AllocPause {
 public:
  AllocPause() noexcept;
  ~AllocPause();
  AllocPause(const AllocPause&) = delete;
  AllocPause& operator=(const AllocPause&) = delete;
};

}  // namespace ostrel::bench

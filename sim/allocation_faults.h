// Allocation faults: counts the heap allocations that the study makes inside its calls and fails
// the Nth one, as an allocation fails when the process runs out of memory (`replay
// --fail-allocation N`).
//
// Only allocations made while a StudyCallScope is open, and no HostCallScope inside it, count:
// the simulator's own work, before, between and after the study's calls and inside the host's
// operations, is never counted nor failed. The hooks (sim/allocation_hooks.cpp, linked only
// into ostrel-sim and the unit tests) ask allocationFails() at every operator new and C
// allocation; without them nothing counts and allocationHooksInstalled() is false. The state is
// per thread: a session belongs to the thread that started it.
#pragma once

#include <cstdint>

namespace ostrel::sim {

struct AllocationReport {
  std::uint64_t allocations = 0;  // counted since the session started
  bool failed = false;            // the Nth allocation was reached (and failed)
  std::int32_t failed_call = -1;  // the call index set when it was
};

// Starts counting from 0; `fail_at` 0 counts without failing anything.
void startAllocationSession(std::uint64_t fail_at) noexcept;
// Ends the session (nothing counts afterwards) and answers what it saw.
AllocationReport endAllocationSession() noexcept;
AllocationReport allocationReport() noexcept;
// The index of the call about to run, recorded with a failure.
void setAllocationCall(std::int32_t index) noexcept;

// For the hooks: counts one allocation when counting is on; true when it is the one to fail.
bool allocationFails() noexcept;

bool allocationHooksInstalled() noexcept;
void markAllocationHooksInstalled() noexcept;

// Counting on for the scope (a call of the study function); nests with HostCallScope.
class StudyCallScope {
 public:
  StudyCallScope() noexcept;
  ~StudyCallScope();
  StudyCallScope(const StudyCallScope&) = delete;
  StudyCallScope& operator=(const StudyCallScope&) = delete;

 private:
  bool outer_;
};

// Counting off for the scope (the host's side of a call: its operations, its bookkeeping).
class HostCallScope {
 public:
  HostCallScope() noexcept;
  ~HostCallScope();
  HostCallScope(const HostCallScope&) = delete;
  HostCallScope& operator=(const HostCallScope&) = delete;

 private:
  bool outer_;
};

}  // namespace ostrel::sim

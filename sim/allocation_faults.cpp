#include "sim/allocation_faults.h"

#include <atomic>

namespace ostrel::sim {
namespace {

// Plain data only: the hooks read it from inside operator new and malloc, where nothing may
// allocate or run a constructor.
struct SessionState {
  bool active = false;
  bool in_study = false;
  std::uint64_t fail_at = 0;
  std::uint64_t count = 0;
  bool failed = false;
  std::int32_t call = -1;
  std::int32_t failed_call = -1;
};

thread_local SessionState t_session;
std::atomic<bool> g_hooks{false};

}  // namespace

void startAllocationSession(std::uint64_t fail_at) noexcept {
  t_session = SessionState();
  t_session.active = true;
  t_session.fail_at = fail_at;
}

AllocationReport allocationReport() noexcept {
  AllocationReport report;
  report.allocations = t_session.count;
  report.failed = t_session.failed;
  report.failed_call = t_session.failed_call;
  return report;
}

AllocationReport endAllocationSession() noexcept {
  const AllocationReport report = allocationReport();
  t_session = SessionState();
  return report;
}

void setAllocationCall(std::int32_t index) noexcept { t_session.call = index; }

bool allocationFails() noexcept {
  SessionState& s = t_session;
  if (!s.active || !s.in_study) return false;
  ++s.count;
  if (s.count != s.fail_at) return false;
  s.failed = true;
  s.failed_call = s.call;
  return true;
}

bool allocationHooksInstalled() noexcept { return g_hooks.load(std::memory_order_relaxed); }
void markAllocationHooksInstalled() noexcept { g_hooks.store(true, std::memory_order_relaxed); }

StudyCallScope::StudyCallScope() noexcept : outer_(t_session.in_study) {
  t_session.in_study = true;
}
StudyCallScope::~StudyCallScope() { t_session.in_study = outer_; }

HostCallScope::HostCallScope() noexcept : outer_(t_session.in_study) { t_session.in_study = false; }
HostCallScope::~HostCallScope() { t_session.in_study = outer_; }

}  // namespace ostrel::sim

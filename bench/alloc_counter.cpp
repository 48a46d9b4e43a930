#include "bench/alloc_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#define OSTREL_BENCH_HOOK_MALLOC 1
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void __libc_free(void* block);
}
#endif

namespace ostrel::bench {
namespace {

std::atomic<std::uint64_t> g_allocations{0};
std::atomic<std::uint64_t> g_reallocations{0};
std::atomic<std::uint64_t> g_frees{0};
std::atomic<std::int64_t> g_live{0};
std::atomic<int> g_paused{0};
std::atomic<int> g_off{0};

bool off() noexcept { return g_off.load(std::memory_order_relaxed) != 0; }

bool counting() noexcept { return g_paused.load(std::memory_order_relaxed) == 0; }

}  // namespace

#if defined(OSTREL_BENCH_HOOK_MALLOC)

namespace {

void noteAllocation(void* block) noexcept {
  if (block == nullptr || off()) return;
  g_live.fetch_add(static_cast<std::int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
  if (counting()) g_allocations.fetch_add(1, std::memory_order_relaxed);
}

void noteFree(void* block) noexcept {
  if (block == nullptr || off()) return;
  g_live.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
  if (counting()) g_frees.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

bool allocCounterActive() noexcept { return true; }

#else

bool allocCounterActive() noexcept { return false; }

#endif

AllocTotals allocTotals() noexcept {
  AllocTotals t;
  t.allocations = g_allocations.load(std::memory_order_relaxed);
  t.reallocations = g_reallocations.load(std::memory_order_relaxed);
  t.frees = g_frees.load(std::memory_order_relaxed);
  t.live_bytes = g_live.load(std::memory_order_relaxed);
  return t;
}

AllocScope::AllocScope() noexcept : start_(allocTotals()) {}

AllocTotals AllocScope::delta() const noexcept {
  const AllocTotals now = allocTotals();
  AllocTotals d;
  d.allocations = now.allocations - start_.allocations;
  d.reallocations = now.reallocations - start_.reallocations;
  d.frees = now.frees - start_.frees;
  d.live_bytes = now.live_bytes - start_.live_bytes;
  return d;
}

AllocOff::AllocOff() noexcept { g_off.fetch_add(1, std::memory_order_relaxed); }
AllocOff::~AllocOff() { g_off.fetch_sub(1, std::memory_order_relaxed); }

double heapInUseBytes() noexcept {
#if defined(OSTREL_BENCH_HOOK_MALLOC)
  return static_cast<double>(mallinfo2().uordblks);
#else
  return 0.0;
#endif
}

AllocPause::AllocPause() noexcept { g_paused.fetch_add(1, std::memory_order_relaxed); }
AllocPause::~AllocPause() { g_paused.fetch_sub(1, std::memory_order_relaxed); }

}  // namespace ostrel::bench

#if defined(OSTREL_BENCH_HOOK_MALLOC)

// The C heap, interposed for the whole process (the benchmark binary only).
extern "C" {

void* malloc(std::size_t size) noexcept {
  void* block = __libc_malloc(size);
  ostrel::bench::noteAllocation(block);
  return block;
}

void* calloc(std::size_t count, std::size_t size) noexcept {
  void* block = __libc_calloc(count, size);
  ostrel::bench::noteAllocation(block);
  return block;
}

void* realloc(void* block, std::size_t size) noexcept {
  if (block == nullptr) return malloc(size);
  if (ostrel::bench::off()) return __libc_realloc(block, size);
  const auto before = static_cast<std::int64_t>(malloc_usable_size(block));
  void* moved = __libc_realloc(block, size);
  if (moved == nullptr) {
    if (size == 0) {
      ostrel::bench::g_live.fetch_sub(before, std::memory_order_relaxed);
      if (ostrel::bench::counting()) {
        ostrel::bench::g_frees.fetch_add(1, std::memory_order_relaxed);
      }
    }
    return nullptr;
  }
  ostrel::bench::g_live.fetch_add(static_cast<std::int64_t>(malloc_usable_size(moved)) - before,
                                  std::memory_order_relaxed);
  if (ostrel::bench::counting()) {
    ostrel::bench::g_reallocations.fetch_add(1, std::memory_order_relaxed);
  }
  return moved;
}

void free(void* block) noexcept {
  ostrel::bench::noteFree(block);
  __libc_free(block);
}

}  // extern "C"

#endif

// operator new and delete on the same C heap, so that they are counted whatever the C++ runtime
// does inside its own operator new.
void* operator new(std::size_t size) {
  for (;;) {
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return operator new(size, std::nothrow);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

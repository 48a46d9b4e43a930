// The allocation hooks behind sim/allocation_faults.h, for ostrel-sim and the unit tests only.
//
// operator new and delete are replaced for the whole program; the C allocation functions are
// wrapped at link time (-Wl,--wrap=malloc,--wrap=calloc,--wrap=realloc, see sim/CMakeLists.txt),
// which reaches every call from our own objects (the study's texts, RapidJSON's allocator, the
// host-string heap) while the C runtime and the sanitizers keep their own. A replaced operator
// new takes its block from the real malloc, so one `new` counts once.
#include <cstddef>
#include <cstdlib>
#include <new>

#include "sim/allocation_faults.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" void __sanitizer_print_stack_trace();
#endif

namespace {

// OSTREL_ALLOC_STACK=1 prints the stack of the failing allocation on standard error (sanitizer
// builds), to find which code ran out of memory.
bool fails() noexcept {
  if (!ostrel::sim::allocationFails()) return false;
#if defined(__SANITIZE_ADDRESS__)
  const char* flag = std::getenv("OSTREL_ALLOC_STACK");
  if (flag != nullptr && flag[0] == '1') __sanitizer_print_stack_trace();
#endif
  return true;
}

}  // namespace

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* block, std::size_t size);

void* __wrap_malloc(std::size_t size) {
  if (fails()) return nullptr;
  return __real_malloc(size);
}

void* __wrap_calloc(std::size_t count, std::size_t size) {
  if (fails()) return nullptr;
  return __real_calloc(count, size);
}

// Shrinking to 0 frees; anything else may need a new block and so may fail (the old block then
// stays valid, as the C library promises).
void* __wrap_realloc(void* block, std::size_t size) {
  if (size != 0 && fails()) return nullptr;
  return __real_realloc(block, size);
}
}

namespace {

void* allocateOrThrow(std::size_t size) {
  if (fails()) throw std::bad_alloc();
  for (;;) {
    if (void* block = __real_malloc(size != 0 ? size : 1)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* allocateOrNull(std::size_t size) noexcept {
  if (fails()) return nullptr;
  return __real_malloc(size != 0 ? size : 1);
}

[[maybe_unused]] const bool kInstalled = (ostrel::sim::markAllocationHooksInstalled(), true);

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocateOrNull(size);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

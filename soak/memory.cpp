#include "soak/memory.h"

#include <cstdio>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSTREL_SOAK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define OSTREL_SOAK_ASAN 1
#endif

#if defined(OSTREL_SOAK_ASAN)
#include <cstddef>
// The sanitizer runtime's count of bytes handed out and not freed (its allocator interface).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <unistd.h>
#endif

namespace ostrel::soak {

std::int64_t liveHeapBytes() noexcept {
#if defined(OSTREL_SOAK_ASAN)
  return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
  const struct mallinfo2 m = mallinfo2();
  return static_cast<std::int64_t>(m.uordblks + m.hblkhd);
#else
  return 0;
#endif
}

std::int64_t residentBytes() noexcept {
#if defined(__linux__)
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (f == nullptr) return 0;
  long long size = 0;
  long long resident = 0;
  const int read = std::fscanf(f, "%lld %lld", &size, &resident);
  std::fclose(f);
  if (read != 2) return 0;
  return static_cast<std::int64_t>(resident) * sysconf(_SC_PAGESIZE);
#else
  return 0;
#endif
}

}  // namespace ostrel::soak

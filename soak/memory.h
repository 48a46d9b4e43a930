// Memory figures of the soak's own process: the live heap (bytes the C heap has handed out and
// not taken back: mallinfo2 on glibc, the sanitizer allocator's count under ASan) and the
// resident set size. Either reads 0 where the platform cannot tell.
#pragma once

#include <cstdint>

namespace ostrel::soak {

std::int64_t liveHeapBytes() noexcept;
std::int64_t residentBytes() noexcept;

}  // namespace ostrel::soak

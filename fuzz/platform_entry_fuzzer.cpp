// libFuzzer target: checkPlatformEntry (fuzz/platform_entry_target.h) on every input; a failed
// check prints its first problem before aborting.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/platform_entry_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  if (!ostrel::fuzz::checkPlatformEntry(data, size, &why)) {
    std::fprintf(stderr, "platform entry check failed: %s\n", why.c_str());
    std::abort();
  }
  return 0;
}

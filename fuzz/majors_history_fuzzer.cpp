// libFuzzer target: checkMajorsHistory (fuzz/fuzz_targets.h) on every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!ostrel::fuzz::checkMajorsHistory(data, size)) std::abort();
  return 0;
}

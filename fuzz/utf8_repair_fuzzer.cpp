// libFuzzer target: checkUtf8Repair (fuzz/utf8_repair_target.h) on every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/utf8_repair_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!ostrel::fuzz::checkUtf8Repair(data, size)) std::abort();
  return 0;
}

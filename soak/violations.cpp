#include "soak/violations.h"

#include <utility>

namespace ostrel::soak {

void SoakViolations::add(long call, std::int64_t unix_time, const std::string& instance,
                         std::string what) {
  ++count_;
  if (kept_.size() < kKept) kept_.push_back({call, unix_time, instance, std::move(what)});
}

}  // namespace ostrel::soak

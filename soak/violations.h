// SoakViolations: every invariant violation of a soak run, each with the call, the simulated
// time and the study instance it was seen on. The count is exact; only the first `kKept` texts
// are kept, so a broken study cannot make the run's memory grow without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ostrel::soak {

struct SoakViolation {
  long call = 0;               // the run's call number (both charts counted)
  std::int64_t unix_time = 0;  // simulated time of the call
  std::string instance;        // "SPX>ES #2": chart and instance number
  std::string what;
};

class SoakViolations {
 public:
  static constexpr std::size_t kKept = 200;

  void add(long call, std::int64_t unix_time, const std::string& instance, std::string what);
  long count() const noexcept { return count_; }
  const std::vector<SoakViolation>& kept() const noexcept { return kept_; }

 private:
  long count_ = 0;
  std::vector<SoakViolation> kept_;
};

// Where the checks of one call report to.
struct CheckContext {
  SoakViolations* violations = nullptr;
  long call = 0;
  std::int64_t unix_time = 0;
  const std::string* instance = nullptr;

  void report(std::string what) const {
    if (violations != nullptr) {
      violations->add(call, unix_time, instance != nullptr ? *instance : std::string(),
                      std::move(what));
    }
  }
};

}  // namespace ostrel::soak

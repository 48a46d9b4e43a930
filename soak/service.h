// SoakService: the soak's network. The mock data service runs in a child process (so that its
// caches never count in the soak's own heap figures) on a loopback port; requests reach it over
// HTTP with the simulated clock (X-Mock-Time) and, in turn, one fault mode of the service
// (X-Mock-Fault): every Nth request of each kind (profile, majors history, futures conversion)
// gets the next mode of kSoakFaults.
//
// The host's rule for a carried request's answer: no answer within the host's wait or a 5xx
// status gives "HTTP_REQUEST_ERROR", an empty body "EMPTY_RESPONSE", anything else the body. A
// fault counts as survived once a later request of the same kind, with no fault, was answered
// with status 200.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "soak/network.h"
#include "soak/options.h"
#include "soak/requests.h"

namespace httplib {
class Client;
}

namespace ostrel::soak {

constexpr int kSoakFaultModes = 7;
extern const char* const kSoakFaults[kSoakFaultModes];
enum SoakRequestKind { kSoakProfile = 0, kSoakHistory = 1, kSoakConversion = 2, kSoakKinds = 3 };

struct FaultTable {
  long injected[kSoakKinds][kSoakFaultModes] = {};
  long survived[kSoakKinds][kSoakFaultModes] = {};
};

class SoakService final : public SoakNetwork {
 public:
  explicit SoakService(const SoakOptions& options);
  ~SoakService() override;
  SoakService(const SoakService&) = delete;
  SoakService& operator=(const SoakService&) = delete;

  // Starts the mock's process; false with a reason.
  bool start(std::string& error);
  void setCounters(RequestCounters* counters) noexcept { counters_ = counters; }
  const FaultTable& faults() const noexcept { return faults_; }

  CarriedAnswer carry(const sim::RequestRecord& request, std::int64_t unix_now) override;
  bool direct(const DirectHttpsRequest& request, std::int64_t unix_now,
              DirectHttpsResult& result) override;

 private:
  struct Outcome {
    bool ok = false;
    int status = 0;
    std::string body;
    std::string error;
  };

  std::string chooseFault(int kind);
  void noteOutcome(int kind, const std::string& fault, bool success);
  Outcome send(const std::string& path, const std::string* body,
               const std::vector<std::pair<std::string, std::string>>& headers,
               std::int64_t unix_now, const std::string& fault);

  const SoakOptions& options_;
  pid_t child_ = -1;
  int control_ = -1;  // closing it tells the child to stop
  std::unique_ptr<httplib::Client> client_;
  RequestCounters* counters_ = nullptr;
  FaultTable faults_;
  long requests_[kSoakKinds] = {};
  long turn_[kSoakKinds] = {};
  bool awaiting_[kSoakKinds][kSoakFaultModes] = {};
};

}  // namespace ostrel::soak

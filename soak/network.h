// SoakNetwork: the soak host's network, as the charts see it. The host carries each request
// the study started to the service and hands the answer to the study in its next call; the
// study's direct request (the futures conversion) is answered within the call. Which fault the
// service is asked to inject into a request is the network's choice.
#pragma once

#include <cstdint>

#include "host/study_host.h"
#include "sim/sim_host.h"
#include "soak/requests.h"

namespace ostrel::soak {

class SoakNetwork {
 public:
  virtual ~SoakNetwork() = default;
  // A request started through StartHttpRequest, carried at simulated time `unix_now`.
  virtual CarriedAnswer carry(const sim::RequestRecord& request, std::int64_t unix_now) = 0;
  // A direct request; false when no answer was received (result->ok 0 and an error text).
  virtual bool direct(const DirectHttpsRequest& request, std::int64_t unix_now,
                      DirectHttpsResult& result) = 0;
};

}  // namespace ostrel::soak

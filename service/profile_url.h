// URLs of the two host-carried requests to the data service.
//
// Profile: BASE/TICKER/PACKAGE/KIND, BASE being https://<service host>/v2/sierra. Package index 1
// is "state", any other "classic". The kind index picks the path segment and the answer's
// family: 0 full, 1 zero, 2 one (GEX); 3 gamma, 4 gamma_one, 5 delta, 6 delta_one (Greek); any
// other index counts as 0. The ticker goes in as given (already normalised), not
// percent-encoded.
#pragma once

#include <cstdint>

#include "host/host_string.h"

namespace ostrel {

enum class ProfileFamily : std::int32_t { Gex = 0, Greek = 1 };

struct ProfileUrl {
  HostString url;
  ProfileFamily family = ProfileFamily::Gex;
};

// "https://" + service host + "/v2/sierra".
const char* serviceBaseUrl() noexcept;

ProfileUrl buildProfileUrl(const char* ticker, std::int32_t package, std::int32_t kind) noexcept;

// The family of a kind index alone (no URL is composed).
ProfileFamily profileFamily(std::int32_t kind) noexcept;

// BASE/hist/TICKER/classic/gex_full/majors/7, whatever package and kind the user chose.
HostString buildMajorsHistoryUrl(const char* ticker) noexcept;

}  // namespace ostrel

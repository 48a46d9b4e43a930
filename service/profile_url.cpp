#include "service/profile_url.h"

#ifndef OSTREL_SERVICE_HOST
#error "OSTREL_SERVICE_HOST (the data service's host name) must be defined by the build"
#endif

namespace ostrel {

namespace {

constexpr const char* kBaseUrl = "https://" OSTREL_SERVICE_HOST "/v2/sierra";

struct KindRow {
  const char* segment;
  ProfileFamily family;
};

constexpr KindRow kKinds[] = {
    {"full", ProfileFamily::Gex},        {"zero", ProfileFamily::Gex},
    {"one", ProfileFamily::Gex},         {"gamma", ProfileFamily::Greek},
    {"gamma_one", ProfileFamily::Greek}, {"delta", ProfileFamily::Greek},
    {"delta_one", ProfileFamily::Greek},
};
constexpr std::int32_t kKindCount = static_cast<std::int32_t>(sizeof(kKinds) / sizeof(kKinds[0]));

}  // namespace

const char* serviceBaseUrl() noexcept { return kBaseUrl; }

ProfileUrl buildProfileUrl(const char* ticker, std::int32_t package, std::int32_t kind) noexcept {
  const KindRow& row = (kind >= 0 && kind < kKindCount) ? kKinds[kind] : kKinds[0];
  ProfileUrl out;
  out.url = formatHostString("%s/%s/%s/%s", kBaseUrl, ticker != nullptr ? ticker : "",
                             package == 1 ? "state" : "classic", row.segment);
  out.family = row.family;
  return out;
}

ProfileFamily profileFamily(std::int32_t kind) noexcept {
  return (kind >= 0 && kind < kKindCount) ? kKinds[kind].family : kKinds[0].family;
}

HostString buildMajorsHistoryUrl(const char* ticker) noexcept {
  return formatHostString("%s/hist/%s/classic/gex_full/majors/7", kBaseUrl,
                          ticker != nullptr ? ticker : "");
}

}  // namespace ostrel

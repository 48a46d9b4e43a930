#include "service/profile_url.h"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

const std::string kBase = std::string("https://") + OSTREL_SERVICE_HOST + "/v2/sierra";

TEST(ProfileUrl, PackageAndKindSegmentsAndFamily) {
  struct Row {
    const char* ticker;
    std::int32_t package, kind;
    const char* path;
    ProfileFamily family;
  } rows[] = {
      {"ES_SPX", 0, 0, "/ES_SPX/classic/full", ProfileFamily::Gex},
      {"ES_SPX", 1, 1, "/ES_SPX/state/zero", ProfileFamily::Gex},
      {"SPX", 0, 2, "/SPX/classic/one", ProfileFamily::Gex},
      {"SPX", 1, 3, "/SPX/state/gamma", ProfileFamily::Greek},
      {"SPX", 0, 4, "/SPX/classic/gamma_one", ProfileFamily::Greek},
      {"NQ_NDX", 1, 5, "/NQ_NDX/state/delta", ProfileFamily::Greek},
      {"NQ_NDX", 1, 6, "/NQ_NDX/state/delta_one", ProfileFamily::Greek},
      {"SPX", 1, 7, "/SPX/state/full", ProfileFamily::Gex},
      {"SPX", 1, -1, "/SPX/state/full", ProfileFamily::Gex},
      {"SPX", 2, 0, "/SPX/classic/full", ProfileFamily::Gex},
      {"SPX", -1, 0, "/SPX/classic/full", ProfileFamily::Gex},
      {"ES SPX", 0, 0, "/ES SPX/classic/full", ProfileFamily::Gex},  // not encoded
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    const ProfileUrl url = buildProfileUrl(r.ticker, r.package, r.kind);
    EXPECT_EQ(std::string(url.url.c_str()), kBase + r.path);
    EXPECT_EQ(url.family, r.family);
  }
}

TEST(ProfileUrl, BaseAndHistoryUrl) {
  EXPECT_EQ(std::string(serviceBaseUrl()), kBase);
  EXPECT_EQ(std::string(buildMajorsHistoryUrl("NQ_NDX").c_str()),
            kBase + "/hist/NQ_NDX/classic/gex_full/majors/7");
  EXPECT_EQ(std::string(buildProfileUrl(nullptr, 0, 0).url.c_str()), kBase + "//classic/full");
}

}  // namespace
}  // namespace ostrel

#include "service/service_requests.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using Headers = std::vector<std::pair<std::string, std::string>>;

const std::string kBase = std::string("https://") + OSTREL_SERVICE_HOST + "/v2/sierra";

class ServiceRequests : public ::testing::Test {
 protected:
  // Runs `body` as one host call so that the simulated host records what it did.
  template <typename F>
  const sim::CallRecord& run(F body) {
    static F* current;
    current = &body;
    return sim.runCall([](StudyHost&) { (*current)(); }, script);
  }
  std::int32_t stored(std::int32_t k) { return sim.storedInts().values.at(k); }

  sim::SimHost sim;
  sim::CallScript script;
};

TEST_F(ServiceRequests, ProfileRequestHeadersInOrder) {
  sim.host().HostBuild = 2911;
  const sim::CallRecord& rec = run(
      [&] { sendProfileRequest(sim.host(), "https://x/v2/sierra/SPX/classic/full", "k3y value"); });
  ASSERT_EQ(rec.requests.size(), 1u);
  const sim::RequestRecord& req = rec.requests[0];
  EXPECT_EQ(req.url, "https://x/v2/sierra/SPX/classic/full");
  EXPECT_EQ(req.body, std::string(""));
  EXPECT_EQ(req.headers, (Headers{{"User-Agent", "Sierra Chart 2911"},
                                  {"X-ostrel-plugin", "v2.2026.03.05"},
                                  {"Authorization", "Basic k3y value"},
                                  {"Accept", "application/json"}}));
  EXPECT_TRUE(rec.log.empty());
  EXPECT_EQ(stored(key::profile_state), Pending);
}

TEST_F(ServiceRequests, EmptyKeyStillSendsTheSchemeWord) {
  const sim::CallRecord& rec = run([&] { sendProfileRequest(sim.host(), "u", ""); });
  EXPECT_EQ(rec.requests.at(0).headers.at(2).second, "Basic ");
}

TEST_F(ServiceRequests, RefusedProfileRequestFails) {
  script.start_request_fails = true;
  const sim::CallRecord& rec = run([&] { sendProfileRequest(sim.host(), "u", "secret"); });
  ASSERT_EQ(rec.log.size(), 1u);
  EXPECT_EQ(rec.log[0].text, "Error making HTTP Request.");
  EXPECT_EQ(rec.log[0].flag, 1);
  EXPECT_EQ(stored(key::profile_state), Failed);
}

TEST_F(ServiceRequests, HistoryRequestUrlHeadersAndBody) {
  sim.host().HostBuild = 2500;
  const sim::CallRecord& rec =
      run([&] { sendMajorsHistoryRequest(sim.host(), "ES_SPX", "abc", 1773149400, 1773155699); });
  ASSERT_EQ(rec.requests.size(), 1u);
  const sim::RequestRecord& req = rec.requests[0];
  EXPECT_EQ(req.url, kBase + "/hist/ES_SPX/classic/gex_full/majors/7");
  EXPECT_EQ(req.body, std::string("{\"start\": 1773149400, \"end\": 1773155699}"));
  EXPECT_EQ(req.headers, (Headers{{"Authorization", "Basic abc"},
                                  {"Accept", "application/json"},
                                  {"Content-Type", "application/json"},
                                  {"X-ostrel-plugin", "v2.2026.03.05"},
                                  {"User-Agent", "Sierra Chart 2500 (Hist)"}}));
  EXPECT_EQ(stored(key::history_state), Pending);
}

TEST_F(ServiceRequests, RefusedHistoryRequestIsDone) {
  script.start_request_fails = true;
  const sim::CallRecord& rec =
      run([&] { sendMajorsHistoryRequest(sim.host(), "SPX", "secret", 1, 2); });
  ASSERT_EQ(rec.log.size(), 1u);
  EXPECT_EQ(rec.log[0].text, "Ostrel: Error sending Majors history request.");
  EXPECT_EQ(rec.log[0].flag, 1);
  EXPECT_EQ(stored(key::history_state), Done);
}

TEST(HistoryBody, DecimalSignedSixtyFourBit) {
  EXPECT_STREQ(formatHistoryBody(0, 1).c_str(), "{\"start\": 0, \"end\": 1}");
  EXPECT_STREQ(formatHistoryBody(-5, 9223372036854775807LL).c_str(),
               "{\"start\": -5, \"end\": 9223372036854775807}");
}

}  // namespace
}  // namespace ostrel

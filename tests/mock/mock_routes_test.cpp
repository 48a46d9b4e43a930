// The mock service over real HTTP on loopback: every route, its error answers and fault modes,
// and that what it sends is read by the study's own parsers as the real service's answers are.
#if defined(OSTREL_HAVE_MOCK)
#include <gtest/gtest.h>

#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>

#include "mock/mock_service.h"
#include "model/gex_data.h"
#include "model/greek_data.h"
#include "model/parse_gex_profile.h"
#include "model/parse_greek_profile.h"
#include "model/parse_majors_history.h"
#include "service/futures_conversion.h"
#include "sim/sim_host.h"
#include "sim/study_loader.h"
#include "study/input_ids.h"

namespace ostrel::mock {
namespace {

constexpr const char* kNow = "1776177000";  // 2026-04-14 10:30:00 New York

class MockRoutes : public ::testing::Test {
 protected:
  void SetUp() override {
    ServiceConfig config;
    config.speed = 0.0;
    config.silent_ms = 5000;
    service_ = std::make_unique<MockService>(config);
    std::string error;
    ASSERT_TRUE(service_->start(error)) << error;
    client_ = std::make_unique<httplib::Client>("127.0.0.1", service_->port());
    client_->set_read_timeout(2, 0);
  }

  httplib::Result get(const std::string& path, const std::string& auth,
                      const std::string& fault = "") {
    httplib::Headers h{{"Authorization", auth}, {"X-Mock-Time", kNow}};
    if (!fault.empty()) h.emplace("X-Mock-Fault", fault);
    return client_->Get(path.c_str(), h);
  }

  std::unique_ptr<MockService> service_;
  std::unique_ptr<httplib::Client> client_;
  sim::SimHost sim_;
};

TEST_F(MockRoutes, ProfileAnswersFillTheStudysRecords) {
  for (const char* path : {"/v2/sierra/SPX/classic/full", "/v2/sierra/ES_SPX/classic/zero",
                           "/v2/sierra/NDX/state/one", "/v2/sierra/AAPL/classic/one"}) {
    auto r = get(path, "Basic demo-key");
    ASSERT_TRUE(r) << path;
    EXPECT_EQ(r->status, 200) << path;
    GexData data;
    const char* text = r->body.c_str();
    ASSERT_EQ(parseGexProfile(sim_.host(), &text, &data), ParseOutcome::filled) << path;
    EXPECT_EQ(data.timestamp, 1776177000);
    EXPECT_GT(data.strike_prices.size(), 20u);
    EXPECT_EQ(data.priors.size(), 5 * data.strike_prices.size());
    EXPECT_EQ(data.max_priors.size(), 5u);
    EXPECT_NE(data.zero_gamma, 0.0f);
    EXPECT_NE(data.major_pos_vol, 0.0f);
  }
  for (const char* path : {"/v2/sierra/SPX/state/gamma", "/v2/sierra/QQQ/state/delta_one"}) {
    auto r = get(path, "Basic demo-key");
    ASSERT_TRUE(r);
    GreekData data;
    const char* text = r->body.c_str();
    ASSERT_EQ(parseGreekProfile(sim_.host(), &text, &data), ParseOutcome::filled) << path;
    EXPECT_EQ(data.priors.size(), 3 * data.strike_prices.size());
    EXPECT_NE(data.major_positive, 0.0f);
  }
}

TEST_F(MockRoutes, StateFullProfileCarriesNoOpenInterest) {
  auto r = get("/v2/sierra/SPX/state/full", "Basic demo-key");
  ASSERT_TRUE(r);
  GexData data;
  const char* text = r->body.c_str();
  ASSERT_EQ(parseGexProfile(sim_.host(), &text, &data), ParseOutcome::filled);
  EXPECT_EQ(data.major_pos_oi, 0.0f);
  EXPECT_EQ(data.sum_gex_oi, 0.0f);
}

TEST_F(MockRoutes, ErrorAnswers) {
  struct Case {
    const char* path;
    const char* auth;
    int status;
    const char* body;
    ParseOutcome outcome;
  } cases[] = {
      {"/v2/sierra/SPX/classic/full", "Basic wrong", 401,
       "{\"message\": \"ERROR: Invalid API Key.\"}", ParseOutcome::halt},
      {"/v2/sierra/SPX/classic/full", "Bearer demo-key", 401,
       "{\"message\": \"ERROR: Invalid API Key.\"}", ParseOutcome::halt},
      {"/v2/sierra/XYZ/classic/full", "Basic demo-key", 404,
       "{\"error\": \"Unknown ticker symbol: XYZ\"}", ParseOutcome::retry},
      {"/v2/sierra/SPX/classic/gamma", "Basic demo-key", 400, nullptr, ParseOutcome::retry},
      {"/v2/sierra/SPX/gold/full", "Basic demo-key", 400, nullptr, ParseOutcome::retry},
      {"/v2/sierra/SPX/classic/theta", "Basic demo-key", 400, nullptr, ParseOutcome::retry},
  };
  for (const Case& c : cases) {
    auto r = get(c.path, c.auth);
    ASSERT_TRUE(r) << c.path;
    EXPECT_EQ(r->status, c.status) << c.path;
    if (c.body != nullptr) {
      EXPECT_EQ(r->body, c.body) << c.path;
    }
    GexData data;
    const char* text = r->body.c_str();
    EXPECT_EQ(parseGexProfile(sim_.host(), &text, &data), c.outcome) << c.path;
  }
}

TEST_F(MockRoutes, FaultModesPerRequest) {
  const std::string path = "/v2/sierra/SPX/classic/full";
  for (const char* fault : {"truncated", "broken"}) {
    auto r = get(path, "Basic demo-key", fault);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 200);
    GexData data;
    const char* text = r->body.c_str();
    EXPECT_EQ(parseGexProfile(sim_.host(), &text, &data), ParseOutcome::retry) << fault;
  }
  EXPECT_EQ(get(path, "Basic demo-key", "404")->status, 404);
  EXPECT_EQ(get(path, "Basic demo-key", "500")->status, 500);
  EXPECT_EQ(get(path, "Basic demo-key", "badkey")->status, 401);
  EXPECT_EQ(get(path + "?mock_fault=500", "Basic demo-key")->status, 500);

  client_->set_read_timeout(0, 300000);
  const auto began = std::chrono::steady_clock::now();
  auto silent = get(path, "Basic demo-key", "silent");
  EXPECT_FALSE(silent);  // no answer within the client's wait
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
  // Stopping releases the held request at once.
  service_->stop();
  service_->wait();
}

TEST_F(MockRoutes, HistoryIsWrittenIntoTheFirstThreeSubgraphs) {
  sim_.setBars(/*start=*/(20557LL + 25569LL) * 86400000000LL + 34200LL * 1000000LL,
               60LL * 1000000LL, 390);  // 2026-04-14 09:30 New York, 1-minute bars
  sim_.runDefaults(sim::linkedStudy().function);
  httplib::Headers h{{"Authorization", "Basic demo-key"}, {"X-Mock-Time", kNow}};
  auto r = client_->Post("/v2/sierra/hist/SPX/classic/gex_full/majors/7", h,
                         "{\"start\": 1776173400, \"end\": 1776177000}", "application/json");
  ASSERT_TRUE(r);
  ASSERT_EQ(r->status, 200);
  const char* text = r->body.c_str();
  EXPECT_EQ(parseMajorsHistory(sim_.host(), &text, 0.0f, 1.0f), 0);
  for (int bar : {0, 30, 60}) {
    EXPECT_NE(sim_.subgraph(2).value(bar), 0.0f) << bar;  // zero gamma
    EXPECT_NE(sim_.subgraph(1).value(bar), 0.0f) << bar;  // major put
  }
  EXPECT_EQ(sim_.subgraph(2).value(61), 0.0f);  // after "now"
  EXPECT_EQ(sim_.host().EarliestChangedBar, 0);

  auto bad = client_->Post("/v2/sierra/hist/SPX/classic/gex_full/majors/7", h, "{\"start\": 1}",
                           "application/json");
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->status, 400);
}

TEST_F(MockRoutes, ConversionAnswerSetsThePremiums) {
  sim_.runDefaults(sim::linkedStudy().function);
  auto r = get("/v2/futures/conversion?ticker=spx&future=ES&model=additive", "Bearer demo-key");
  ASSERT_TRUE(r);
  ASSERT_EQ(r->status, 200);
  parseFuturesConversion(sim_.host(), r->body.c_str(), "ES");
  EXPECT_EQ(sim_.input(in::kMultiplicativePremium).double_value, 1.0);
  EXPECT_GT(sim_.input(in::kAdditivePremium).double_value, 25.0);

  auto refused =
      get("/v2/futures/conversion?ticker=spx&future=ES&model=additive", "Basic demo-key");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 401);
  EXPECT_EQ(refused->body, "{\"error\": \"Invalid API Key.\"}");
  auto unknown = get("/v2/futures/conversion?ticker=xyz&future=ES&model=affine", "Bearer demo-key");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->body, "{\"error\": \"Unknown ticker symbol: XYZ\"}");
}

}  // namespace
}  // namespace ostrel::mock
#endif

// The conversion request as the client composes it, seen through a host stand-in.
#include "service/https_client.h"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

// Records the request and answers with a fixed result.
struct StandIn {
  int calls = 0;
  std::string server;
  std::int32_t port = 0;
  std::string path;
  std::string headers;
  std::string agent;
  std::int32_t ok = 1;
  std::uint32_t status = 200;
  const char* body = "{}";
  const char* error = "";
};

std::int32_t standInGet(StudyHost* host, const DirectHttpsRequest* request,
                        DirectHttpsResult* result) {
  StandIn& s = *static_cast<StandIn*>(host->HostContext);
  ++s.calls;
  s.server = request->server;
  s.port = request->port;
  s.path = request->path;
  s.headers = request->header_block;
  s.agent = request->user_agent;
  result->ok = s.ok;
  result->status = s.status;
  result->body.assign(s.body);
  result->error.assign(s.error);
  return s.ok;
}

class HttpsClient : public ::testing::Test {
 protected:
  HttpsClient() {
    host_.HostContext = &stand_in_;
    host_.Ops.DirectHttpsGet = &standInGet;
  }
  StudyHost host_;
  StandIn stand_in_;
};

TEST_F(HttpsClient, PathCarriesLowerCasedTickerTargetAsGivenAndModel) {
  struct Case {
    const char* ticker;
    const char* target;
    const char* query;
  };
  const Case cases[] = {
      {"ES_SPX", "ES", "ticker=es_spx&future=ES&model=additive"},
      {"SPX", "ESM6", "ticker=spx&future=ESM6&model=additive"},
      {"SPX", "MES", "ticker=spx&future=MES&model=affine"},  // MES does not begin with ES
      {"AAPL", "ES", "ticker=aapl&future=ES&model=affine"},
      {"NDX", "NQ", "ticker=ndx&future=NQ&model=additive"},
      {"NQ_NDX", "NQH6", "ticker=nq_ndx&future=NQH6&model=additive"},
      {"NDX", "ES", "ticker=ndx&future=ES&model=affine"},
      {"SPX", "NQ", "ticker=spx&future=NQ&model=affine"},
      {"SPX", "E", "ticker=spx&future=E&model=affine"},    // target shorter than two
      {"SPX", "es", "ticker=spx&future=es&model=affine"},  // prefix is case-sensitive
      {"SPXW", "ES", "ticker=spxw&future=ES&model=affine"},
      {"BRK.B", "X", "ticker=brk.b&future=X&model=affine"},
      {"SPX", "", "ticker=spx&future=&model=affine"},
      {nullptr, nullptr, "ticker=&future=&model=affine"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ticker ? c.ticker : "(null)") + " / " +
                 (c.target ? c.target : "(null)"));
    const ConversionResult result = fetchFuturesConversion(host_, c.ticker, c.target, "k");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(stand_in_.path, std::string("/v2/futures/conversion?") + c.query);
  }
}

TEST_F(HttpsClient, RequestGoesToTheServiceWithKeyHeaderAndAgent) {
  fetchFuturesConversion(host_, "SPX", "ES", "abc-123");
  EXPECT_EQ(stand_in_.server, OSTREL_SERVICE_HOST);
  EXPECT_EQ(stand_in_.port, 443);
  EXPECT_EQ(stand_in_.headers,
            "Authorization: Bearer abc-123\r\nAccept: application/json\r\n"
            "X-ostrel-plugin: v2.2026.03.05\r\n");
  EXPECT_EQ(stand_in_.agent, "SierraChart-Ostrel/1.0");

  fetchFuturesConversion(host_, "SPX", "ES", nullptr);  // no key: the scheme word still goes
  EXPECT_EQ(stand_in_.headers.substr(0, 24), "Authorization: Bearer \r\n");
}

TEST_F(HttpsClient, ResultIsTakenFromTheTransport) {
  stand_in_.status = 404;
  stand_in_.body = "{\"error\":\"x\"}";
  ConversionResult result = fetchFuturesConversion(host_, "SPX", "ES", "k");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, 404u);
  EXPECT_STREQ(result.body.c_str(), "{\"error\":\"x\"}");
  EXPECT_STREQ(result.error.c_str(), "");

  stand_in_.ok = 0;
  stand_in_.error = "WinHttpConnect failed (GetLastError=12029)";
  result = fetchFuturesConversion(host_, "SPX", "ES", "k");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 0u);
  EXPECT_STREQ(result.body.c_str(), "");
  EXPECT_STREQ(result.error.c_str(), "WinHttpConnect failed (GetLastError=12029)");
}

// Values that would break the request line or change the query's meaning never leave.
TEST_F(HttpsClient, UnsafeQueryValuesAreRefusedWithoutARequest) {
  const char* unsafe[] = {"ES SPX",    "SPX\r\nHost: x",
                          "SPX#",      "SPX&model=additive",
                          "SPX?",      "SP%58",
                          "S+P",       "S=P",
                          "S\x01P",    "S\x7FP",
                          "\xC3\xA9S", "S\"P",
                          "S<P",       "S\\P",
                          "S^P",       "S|P",
                          "S;P",       "S\tP"};
  for (const char* value : unsafe) {
    SCOPED_TRACE(value);
    ConversionResult as_ticker = fetchFuturesConversion(host_, value, "ES", "k");
    EXPECT_FALSE(as_ticker.ok);
    EXPECT_EQ(as_ticker.status, 0u);
    EXPECT_NE(std::string(as_ticker.error.c_str()).find("ticker holds a byte"), std::string::npos);
    ConversionResult as_target = fetchFuturesConversion(host_, "SPX", value, "k");
    EXPECT_FALSE(as_target.ok);
    EXPECT_NE(std::string(as_target.error.c_str()).find("futures target holds a byte"),
              std::string::npos);
  }
  EXPECT_EQ(stand_in_.calls, 0);

  const ConversionResult spaced = fetchFuturesConversion(host_, "ES SPX", "ES", "k");
  EXPECT_STREQ(spaced.error.c_str(),
               "ticker holds a byte that cannot be sent in a URL query (0x20 at offset 2); "
               "request not sent");
}

TEST_F(HttpsClient, KeyOutsidePrintableAsciiIsRefusedWithoutNamingIt) {
  struct Case {
    const char* key;
    unsigned long offset;
  } cases[] = {
      {"secret\r\nX-Injected: 1", 6},
      {"secret\n", 6},
      {"a\x7F", 1},
      {"\x1B", 0},
      {"key\xC3\xA9", 3},  // UTF-8 letter
      {"key\xC2\xA0", 3},  // no-break space pasted with the key
      {"\xFF", 0},
  };
  for (const Case& c : cases) {
    const ConversionResult result = fetchFuturesConversion(host_, "SPX", "ES", c.key);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.c_str(), "API KEY holds a byte outside printable ASCII (at offset " +
                                        std::to_string(c.offset) + "); request not sent");
  }
  EXPECT_EQ(stand_in_.calls, 0);
  // Blanks and every printable ASCII byte pass.
  EXPECT_TRUE(
      fetchFuturesConversion(host_, "SPX", "ES", "two words ~!\"#$%&'()*+,-./:;<=>?@[]^_`{|}").ok);
}

}  // namespace
}  // namespace ostrel

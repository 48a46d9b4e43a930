// The mock market's invariants: signs of call and put exposure, zero gamma between the majors,
// priors that are the model's own earlier snapshots, determinism for a seed, the history window,
// the futures conversion, New York time and the fault bodies.
#if defined(OSTREL_HAVE_MOCK)
#include <gtest/gtest.h>

#include <rapidjson/document.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "jsonout/json_writer.h"
#include "mock/answers.h"
#include "mock/conversion_model.h"
#include "mock/faults.h"
#include "mock/market_model.h"
#include "mock/ny_time.h"
#include "mock/recorded_answers.h"
#include "mock/tickers.h"

namespace ostrel::mock {
namespace {

std::int64_t at(const char* ny) {
  std::int64_t t = 0;
  EXPECT_TRUE(parseClockText(ny, t)) << ny;
  return t;
}

class EveryTicker : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryTicker, CallExposureIsPositivePutNegativeAndZeroGammaLiesBetweenTheMajors) {
  const TickerSpec* spec = findTicker(GetParam());
  ASSERT_NE(spec, nullptr);
  for (std::uint64_t seed = 1; seed <= 4; ++seed)
    for (const char* when : {"2026-04-14 09:45:00", "2026-04-14 12:00:00", "2026-04-15 15:30:00"}) {
      MarketModel model(seed);
      const GexProfile p = model.gexAt(*spec, ProfileKind::kFull, at(when), true);
      ASSERT_FALSE(p.strikes.empty());
      for (std::size_t i = 0; i < p.strikes.size(); ++i) {
        EXPECT_GE(p.call_gex_vol[i], 0.0);
        EXPECT_GE(p.call_gex_oi[i], 0.0);
        EXPECT_LE(p.put_gex_vol[i], 0.0);
        EXPECT_LE(p.put_gex_oi[i], 0.0);
        EXPECT_DOUBLE_EQ(p.gex_oi[i], p.call_gex_oi[i] + p.put_gex_oi[i]);
      }
      EXPECT_GT(p.major_pos_oi, p.major_neg_oi) << when;
      EXPECT_GT(p.zero_gamma, p.major_neg_oi) << GetParam() << " " << when << " seed " << seed;
      EXPECT_LT(p.zero_gamma, p.major_pos_oi) << GetParam() << " " << when << " seed " << seed;
      // Far below the price puts dominate, far above calls do.
      EXPECT_LT(p.gex_oi.front(), 0.0);
      EXPECT_GT(p.gex_oi.back(), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Mock, EveryTicker,
                         ::testing::Values("SPX", "NDX", "SPY", "QQQ", "AAPL", "ES_SPX", "NQ_NDX"));

TEST(MockModel, UnknownTickersAreNotFound) {
  EXPECT_EQ(findTicker("XYZ"), nullptr);
  EXPECT_EQ(findTicker("spx"), nullptr);  // the service compares upper case; callers upper-case
  EXPECT_STREQ(findTicker("ES_SPX")->symbol, "SPX");
}

TEST(MockModel, PriorsAreTheSnapshotsMinutesBack) {
  MarketModel model(3);
  const TickerSpec& spx = *findTicker("SPX");
  const std::int64_t now = at("2026-04-14 11:07:30");
  const GexSnapshot s = model.gexSnapshot(spx, ProfileKind::kZero, now, true);
  for (std::size_t k = 0; k < kGexPriorMinutes.size(); ++k) {
    const GexProfile back =
        model.gexAt(spx, ProfileKind::kZero, now - 60 * kGexPriorMinutes[k], true);
    EXPECT_EQ(s.prior_vol[k], back.gex_vol) << kGexPriorMinutes[k];
    // The max-change entry names the strike whose volume GEX moved most.
    double best = 0.0;
    for (std::size_t i = 0; i < back.gex_vol.size(); ++i) {
      best = std::max(best, std::fabs(s.now.gex_vol[i] - back.gex_vol[i]));
    }
    EXPECT_DOUBLE_EQ(std::fabs(s.max_priors[k].second), best);
  }
}

TEST(MockModel, TheSameSeedAndClockAnswerTheSameBytes) {
  MarketModel a(11), b(11), c(12);
  const TickerSpec& ndx = *findTicker("NDX");
  const std::int64_t now = at("2026-04-14 13:21:05");
  const std::string first = gexAnswer("NDX", a.gexSnapshot(ndx, ProfileKind::kFull, now, true));
  // A later request in between must not change what the same instant answers.
  a.gexSnapshot(ndx, ProfileKind::kFull, now + 600, true);
  EXPECT_EQ(first, gexAnswer("NDX", a.gexSnapshot(ndx, ProfileKind::kFull, now, true)));
  EXPECT_EQ(first, gexAnswer("NDX", b.gexSnapshot(ndx, ProfileKind::kFull, now, true)));
  EXPECT_NE(first, gexAnswer("NDX", c.gexSnapshot(ndx, ProfileKind::kFull, now, true)));
  EXPECT_EQ(greekAnswer("NDX", a.greekSnapshot(ndx, ProfileKind::kDelta, now)),
            greekAnswer("NDX", b.greekSnapshot(ndx, ProfileKind::kDelta, now)));
}

TEST(MockModel, ThePriceWalksThroughTheSessionAndIsFlatOutsideIt) {
  MarketModel model(5);
  const TickerSpec& spx = *findTicker("SPX");
  EXPECT_EQ(model.spotAt(spx, at("2026-04-14 08:00:00")),
            model.spotAt(spx, at("2026-04-14 09:30:00")));
  EXPECT_EQ(model.spotAt(spx, at("2026-04-14 16:00:00")),
            model.spotAt(spx, at("2026-04-14 18:00:00")));
  EXPECT_NE(model.spotAt(spx, at("2026-04-14 09:30:00")),
            model.spotAt(spx, at("2026-04-14 12:00:00")));
  const double open = model.spotAt(spx, at("2026-04-14 09:30:00"));
  EXPECT_NEAR(open, spx.base_spot, spx.base_spot * 0.1);
}

TEST(MockModel, HistoryHasOnePointPerSessionMinuteUpToNow) {
  MarketModel model(1);
  const TickerSpec& spx = *findTicker("SPX");
  const std::int64_t open = at("2026-04-14 09:30:00");
  const auto points = model.majorsHistory(spx, open - 3600, open + 3600, open + 600);
  ASSERT_EQ(points.size(), 11u);  // 09:30 .. 09:40, nothing from before the open or after now
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].timestamp, open + 60 * static_cast<std::int64_t>(i));
    EXPECT_NE(points[i].zero_gamma, 0.0);
  }
  EXPECT_TRUE(model.majorsHistory(spx, open + 100, open, open + 600).empty());
}

TEST(MockConversion, ModelsAndErrors) {
  MarketModel model(1);
  const std::int64_t now = at("2026-04-14 10:00:00");
  const ConversionResult es = convertToFuture(model, "spx", "ES", "additive", now);
  ASSERT_TRUE(es.ok);
  EXPECT_EQ(es.multiplier, 1.0);
  EXPECT_GE(es.additive, 30.0 * 0.9);
  EXPECT_LE(es.additive, 60.0 * 1.1);
  EXPECT_EQ(es.future_contract, "ESM6");
  const ConversionResult spy = convertToFuture(model, "spy", "ES", "affine", now);
  ASSERT_TRUE(spy.ok);
  EXPECT_NEAR(spy.multiplier,
              model.spotAt(*findTicker("SPX"), now) / model.spotAt(*findTicker("SPY"), now), 1e-5);
  EXPECT_EQ(convertToFuture(model, "xyz", "ES", "affine", now).error, "Unknown ticker symbol: XYZ");
  EXPECT_EQ(convertToFuture(model, "spx", "ZZ", "affine", now).error, "Unknown future: ZZ");
  EXPECT_FALSE(convertToFuture(model, "spx", "ES", "other", now).ok);
  // The premium drifts through the day but stays in its band.
  const ConversionResult later = convertToFuture(model, "spx", "ES", "additive", now + 4 * 3600);
  EXPECT_NE(later.additive, es.additive);
}

TEST(MockTime, NewYorkDaylightRules) {
  EXPECT_EQ(at("2026-04-14 09:30:00"), 1776173400);  // EDT, UTC-4
  EXPECT_EQ(at("2026-01-15 09:30:00"), 1768487400);  // EST, UTC-5
  EXPECT_EQ(newYorkOffset(at("2026-03-08 01:59:00")), -5 * 3600);
  EXPECT_EQ(newYorkOffset(at("2026-03-08 03:00:00")), -4 * 3600);
  EXPECT_EQ(formatNewYork(1776173400), "2026-04-14 09:30:00");
  std::int64_t t = 0;
  EXPECT_TRUE(parseClockText("1776173400", t));
  EXPECT_EQ(t, 1776173400);
  for (const char* bad : {"", "noon", "2026-13-01 00:00:00", "2026-04-14 25:00:00", "12x"}) {
    EXPECT_FALSE(parseClockText(bad, t)) << bad;
  }
}

bool validJson(const std::string& text) {
  rapidjson::Document d;
  d.Parse(text.c_str(), text.size());
  return !d.HasParseError();
}

TEST(MockFaults, BodyFaultsBreakTheAnswerAsNamed) {
  const std::string good = "{\"timestamp\": 1, \"strikes\": [[1, 2, 3, [4]]]}";
  struct Case {
    const char* name;
    int status;
    bool json;
  } cases[] = {{"none", 200, true},   {"slow", 200, true},    {"truncated", 200, false},
               {"404", 404, false},   {"broken", 200, false}, {"500", 500, false},
               {"badkey", 200, true}, {"silent", 200, true}};
  for (const Case& c : cases) {
    Fault fault = Fault::kNone;
    ASSERT_TRUE(parseFault(c.name, fault)) << c.name;
    EXPECT_STREQ(faultName(fault), c.name);
    int status = 200;
    std::string body = good, type = "application/json";
    applyBodyFault(fault, status, body, type);
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(validJson(body), c.json) << c.name << ": " << body;
  }
  Fault fault = Fault::kNone;
  EXPECT_FALSE(parseFault("explode", fault));
}

TEST(MockJson, WriterEscapesAndStaysValid) {
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject().key("a\"b").value("x\\y\n").key("n").fixed(std::nan("")).key("v");
  w.beginArray().fixed(1.5).fixed(-0.0001, 2).integer(-7).endArray().endObject();
  EXPECT_EQ(w.text(), "{\"a\\\"b\": \"x\\\\y\\u000a\", \"n\": 0, \"v\": [1.5, 0, -7]}");
  EXPECT_TRUE(validJson(w.text()));
  EXPECT_EQ(errorBody("Unknown ticker symbol: XYZ"), "{\"error\": \"Unknown ticker symbol: XYZ\"}");
  // A ticker from the request path may hold any bytes; the answer stays valid UTF-8.
  EXPECT_EQ(errorBody("Unknown ticker symbol: \xC0\xAF"),
            "{\"error\": \"Unknown ticker symbol: \xEF\xBF\xBD\xEF\xBF\xBD\"}");
}

TEST(MockRecorded, FilesAreFoundByPathAndNeverOutsideTheDirectory) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("ostrel-recorded-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "v2/sierra/SPX/classic");
  std::ofstream(dir / "v2/sierra/SPX/classic/full.json") << "{\"timestamp\": 1}";
  RecordedAnswers recorded(dir.string());
  std::string body;
  EXPECT_TRUE(recorded.find("/v2/sierra/SPX/classic/full", body));
  EXPECT_EQ(body, "{\"timestamp\": 1}");
  EXPECT_FALSE(recorded.find("/v2/sierra/SPX/classic/zero", body));
  EXPECT_FALSE(recorded.find("/v2/sierra/SPX/classic", body));  // a directory
  EXPECT_FALSE(recorded.find("/v2/sierra/../sierra/SPX/classic/full", body));
  EXPECT_FALSE(RecordedAnswers("").find("/v2/sierra/SPX/classic/full", body));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ostrel::mock
#endif

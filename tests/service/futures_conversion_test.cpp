// When the futures conversion asks the service, and what its answers do to the premiums.
#include "service/futures_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/replay_datetime.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"
#include "study/input_readers.h"
#include "study/state_keys.h"

namespace ostrel {
namespace {

using sim::CallScript;
using sim::DirectAnswer;

constexpr std::int64_t kSec = sim::kMicrosPerSecond;

// One scheduling step, with the inputs as the study entry would hand them over.
void conversionStep(StudyHost& host) {
  updateFuturesConversion(host, readText(host.Inputs[in::kTicker]),
                          readText(host.Inputs[in::kFuturesTarget]),
                          readText(host.Inputs[in::kApiKey]));
}

// 2025-06-02 is a Monday, 2025-06-07 a Saturday; the host runs on New York time.
DateTime at(int day, int hour, int minute, int second = 0) {
  return sim::dateTimeFromCivil(2025, 6, day, ((hour * 60 + minute) * 60 + second) * kSec);
}

class FuturesConversion : public ::testing::Test {
 protected:
  FuturesConversion() {
    sim_.input(in::kTicker).setText("SPX");
    sim_.input(in::kFuturesTarget).setText("ES");
    sim_.input(in::kApiKey).setText("key-0123456789");
    sim_.input(in::kMultiplicativePremium).setFloat(7.0f);
    sim_.input(in::kAdditivePremium).setFloat(9.0f);
  }

  static CallScript okScript(const char* body = "{\"multiplier\":1,\"additive\":30}") {
    CallScript script;
    script.conversion = DirectAnswer{true, 200, body, ""};
    return script;
  }

  // Runs one call at `t` (CurrentTime and the clock) and answers whether it sent a request.
  bool sentAt(DateTime t) { return sentAt(t, okScript()); }
  bool sentAt(DateTime t, const CallScript& script) {
    sim_.host().CurrentTime = t;
    sim_.host().ClockTime = t;
    return !sim_.runCall(&conversionStep, script).conversions.empty();
  }

  std::int32_t storedInt(std::int32_t key) const {
    const auto& values = sim_.storedInts().values;
    const auto found = values.find(key);
    return found == values.end() ? 0 : found->second;
  }

  float premium(std::int32_t index) { return readFloat(sim_.input(index)); }

  std::vector<sim::LogEntry> log() const { return sim_.lastCall().log; }

  sim::SimHost sim_;
};

struct Step {
  DateTime time;
  bool sends;
};

TEST_F(FuturesConversion, WeekdayTriggersFireOncePerMinuteBesideTheFifteenMinuteRule) {
  const Step monday[] = {
      {at(2, 9, 20), true},                                 // first call ever
      {at(2, 9, 29, 59), false}, {at(2, 9, 30, 10), true},  // 09:30 trigger
      {at(2, 9, 30, 30), false},                            // fired already
      {at(2, 9, 31, 30), false}, {at(2, 9, 32, 0), true},   // 09:32 trigger
      {at(2, 9, 32, 59), false}, {at(2, 9, 33, 0), false},
      {at(2, 9, 46, 59), false},  // 14:59 after the last request
      {at(2, 9, 47, 0), true},    // 15:00 after it
      {at(2, 16, 0), true},
  };
  for (const Step& step : monday) {
    SCOPED_TRACE(step.time);
    EXPECT_EQ(sentAt(step.time), step.sends);
  }
  EXPECT_EQ(storedInt(key::conversion_0930_done), 1);
  EXPECT_EQ(storedInt(key::conversion_0932_done), 1);

  // Tuesday: nothing re-arms until a call before 09:00 comes; Wednesday has one.
  const Step later[] = {
      {at(3, 9, 20), true},      // fifteen-minute rule
      {at(3, 9, 30, 5), false},  // not re-armed
      {at(3, 9, 32, 5), false},
      {at(4, 8, 59, 59), true},  // re-arms; fifteen-minute rule
      {at(4, 9, 20), true},
      {at(4, 9, 30, 0), true},  // 09:30 trigger, ten minutes after the last request
      {at(4, 9, 30, 59), false},
  };
  for (const Step& step : later) {
    SCOPED_TRACE(step.time);
    EXPECT_EQ(sentAt(step.time), step.sends);
  }
}

TEST_F(FuturesConversion, The0930TriggerEndsAt0931) {
  const Step monday[] = {
      {at(2, 8, 50), true},       // first call ever; re-arms the triggers
      {at(2, 9, 20), true},       // fifteen-minute rule
      {at(2, 9, 31, 30), false},  // first call since: past the 09:30 minute, 11.5 min after
      {at(2, 9, 32, 0), true},    // 09:32 trigger
  };
  for (const Step& step : monday) {
    SCOPED_TRACE(step.time);
    EXPECT_EQ(sentAt(step.time), step.sends);
  }
  EXPECT_EQ(storedInt(key::conversion_0930_done), 0);
}

// The chart's clock going back (a zone further west, a fall-back switch) leaves the last
// request in the future: the fifteen-minute rule is due at once, not when the clock catches up.
TEST_F(FuturesConversion, ClockMovingBackMakesTheRequestDue) {
  const Step steps[] = {
      {at(2, 11, 0), true},
      {at(2, 8, 0), true},   // three hours back
      {at(2, 8, 1), false},  // counts from the new request
      {at(2, 8, 15), true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.time);
    EXPECT_EQ(sentAt(step.time), step.sends);
  }
}

TEST_F(FuturesConversion, NoDailyTriggerOnSaturday) {
  const Step saturday[] = {
      {at(7, 8, 0), true},                              // first call; re-arms too
      {at(7, 8, 10), false},     {at(7, 9, 20), true},  // fifteen-minute rule
      {at(7, 9, 30, 10), false}, {at(7, 9, 32, 10), false}, {at(7, 9, 35), true},
  };
  for (const Step& step : saturday) {
    SCOPED_TRACE(step.time);
    EXPECT_EQ(sentAt(step.time), step.sends);
  }
  EXPECT_EQ(storedInt(key::conversion_0930_done), 0);
}

TEST_F(FuturesConversion, MarketClockIsTheAltClockWhenTheHostSaysSo) {
  ASSERT_TRUE(sentAt(at(2, 9, 20)));
  sim_.host().UseAltClock = 1;
  sim_.host().AltClockTime = at(2, 12, 0);
  sim_.host().CurrentTime = at(2, 9, 30, 10);
  sim_.host().ClockTime = at(2, 9, 30, 10);
  EXPECT_TRUE(sim_.runCall(&conversionStep, okScript()).conversions.empty());
  sim_.host().AltClockTime = at(2, 9, 30, 20);
  EXPECT_FALSE(sim_.runCall(&conversionStep, okScript()).conversions.empty());
}

TEST_F(FuturesConversion, ChangedTickerOrTargetSendsAtOnce) {
  ASSERT_TRUE(sentAt(at(2, 11, 0)));
  EXPECT_FALSE(sentAt(at(2, 11, 1)));
  sim_.input(in::kFuturesTarget).setText("NQ");
  ASSERT_TRUE(sentAt(at(2, 11, 2)));
  EXPECT_EQ(sim_.lastCall().conversions[0].path,
            "/v2/futures/conversion?ticker=spx&future=NQ&model=affine");
  EXPECT_EQ(sim_.storedTexts().values.at(key::conversion_target), "NQ");
  EXPECT_FALSE(sentAt(at(2, 11, 3)));
  sim_.input(in::kTicker).setText("NDX");
  ASSERT_TRUE(sentAt(at(2, 11, 4)));
  EXPECT_EQ(sim_.lastCall().conversions[0].path,
            "/v2/futures/conversion?ticker=ndx&future=NQ&model=additive");
  EXPECT_EQ(sim_.storedTexts().values.at(key::conversion_ticker), "NDX");
}

TEST_F(FuturesConversion, FailedRequestWaitsForTheNextTrigger) {
  CallScript failing;
  failing.conversion = DirectAnswer{false, 0, "", "WinHttpConnect failed (GetLastError=12007)"};
  ASSERT_TRUE(sentAt(at(2, 10, 0), failing));
  ASSERT_EQ(log().size(), 2u);
  EXPECT_EQ(log()[0].text,
            "Ostrel Futures Conversion: sending request (ticker=SPX -> future=ES)...");
  EXPECT_EQ(log()[0].flag, 0);
  EXPECT_EQ(
      log()[1].text,
      "Ostrel Futures Conversion: request failed: WinHttpConnect failed (GetLastError=12007)");
  EXPECT_EQ(log()[1].flag, 1);
  EXPECT_FALSE(sentAt(at(2, 10, 1), failing));
  EXPECT_TRUE(sentAt(at(2, 10, 15), failing));
  EXPECT_EQ(premium(in::kMultiplicativePremium), 7.0f);
  EXPECT_EQ(premium(in::kAdditivePremium), 9.0f);
}

struct AnswerCase {
  const char* name;
  DirectAnswer answer;
  std::vector<sim::LogEntry> log;  // after the "sending request" line
  float multiplier;                // 7 and 9: unchanged
  float additive;
};

TEST_F(FuturesConversion, AnswersSetPremiumsOrLeaveThemAlone) {
  const std::string raw = "Ostrel Futures Conversion: raw response: ";
  const std::string parse_error = "Ostrel Futures Conversion: JSON parse error. Will retry later.";
  const AnswerCase cases[] = {
      {"zero multiplier becomes 1",
       {true, 200, "{\"multiplier\":0,\"additive\":12.5}", ""},
       {{raw + "{\"multiplier\":0,\"additive\":12.5}", 0},
        {"Ostrel Futures Conversion: -> ES  x1.0000  +12.50", 0}},
       1.0f,
       12.5f},
      {"contract name and negative premium",
       {true, 200, "{\"multiplier\":1.0005,\"additive\":-4.5,\"future_contract\":\"ESM6\"}", ""},
       {{raw + "{\"multiplier\":1.0005,\"additive\":-4.5,\"future_contract\":\"ESM6\"}", 0},
        {"Ostrel Futures Conversion: -> ESM6  x1.0005  -4.50", 0}},
       1.0005f,
       -4.5f},
      {"non-number members count as absent",
       {true, 200, "{\"multiplier\":\"2\",\"additive\":null,\"future_contract\":5}", ""},
       {{raw + "{\"multiplier\":\"2\",\"additive\":null,\"future_contract\":5}", 0},
        {"Ostrel Futures Conversion: -> ES  x1.0000  +0.00", 0}},
       1.0f,
       0.0f},
      {"empty object",
       {true, 200, "{}", ""},
       {{raw + "{}", 0}, {"Ostrel Futures Conversion: -> ES  x1.0000  +0.00", 0}},
       1.0f,
       0.0f},
      {"non-string error is ignored",
       {true, 200, "{\"error\":5,\"multiplier\":2,\"additive\":3}", ""},
       {{raw + "{\"error\":5,\"multiplier\":2,\"additive\":3}", 0},
        {"Ostrel Futures Conversion: -> ES  x2.0000  +3.00", 0}},
       2.0f,
       3.0f},
      {"error string",
       {true, 200, "{\"error\":\"Unknown future\",\"multiplier\":2}", ""},
       {{raw + "{\"error\":\"Unknown future\",\"multiplier\":2}", 0},
        {"Ostrel Futures Conversion API Error: \"Unknown future\".", 1}},
       7.0f,
       9.0f},
      {"not JSON", {true, 200, "<html>", ""}, {{raw + "<html>", 0}, {parse_error, 0}}, 7.0f, 9.0f},
      {"not an object",
       {true, 200, "[2,3]", ""},
       {{raw + "[2,3]", 0}, {parse_error, 0}},
       7.0f,
       9.0f},
      {"trailing text", {true, 200, "{} x", ""}, {{raw + "{} x", 0}, {parse_error, 0}}, 7.0f, 9.0f},
      {"multiplier beyond float",
       {true, 200, "{\"multiplier\":1e39}", ""},
       {{raw + "{\"multiplier\":1e39}", 0}, {parse_error, 0}},
       7.0f,
       9.0f},
      {"additive beyond float",
       {true, 200, "{\"additive\":-1e300}", ""},
       {{raw + "{\"additive\":-1e300}", 0}, {parse_error, 0}},
       7.0f,
       9.0f},
      {"multiplier beyond double",
       {true, 200, "{\"multiplier\":1e999}", ""},
       {{raw + "{\"multiplier\":1e999}", 0}, {parse_error, 0}},
       7.0f,
       9.0f},
      {"status other than 200",
       {true, 404, "{\"error\":\"no route\"}", ""},
       {{"Ostrel Futures Conversion: HTTP 404: {\"error\":\"no route\"}", 1}},
       7.0f,
       9.0f},
      {"status 200 with empty body", {true, 200, "", ""}, {{raw, 0}, {parse_error, 0}}, 7.0f, 9.0f},
  };
  DateTime t = at(2, 11, 0);
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim_.input(in::kMultiplicativePremium).setFloat(7.0f);
    sim_.input(in::kAdditivePremium).setFloat(9.0f);
    t += 16 * 60 * kSec;
    CallScript script;
    script.conversion = c.answer;
    ASSERT_TRUE(sentAt(t, script));
    const std::vector<sim::LogEntry> lines = log();
    ASSERT_EQ(lines.size(), c.log.size() + 1);
    for (std::size_t i = 0; i < c.log.size(); ++i) {
      EXPECT_EQ(lines[i + 1].text, c.log[i].text);
      EXPECT_EQ(lines[i + 1].flag, c.log[i].flag);
    }
    EXPECT_EQ(sim_.input(in::kMultiplicativePremium).type, InputType::kFloat);
    EXPECT_EQ(premium(in::kMultiplicativePremium), c.multiplier);
    EXPECT_EQ(premium(in::kAdditivePremium), c.additive);
  }
}

TEST_F(FuturesConversion, KeyEchoedByTheServerIsNotLogged) {
  CallScript script;
  script.conversion = DirectAnswer{true, 401, "{\"error\":\"bad key key-0123456789\"}", ""};
  ASSERT_TRUE(sentAt(at(2, 11, 0), script));
  ASSERT_EQ(log().size(), 2u);
  EXPECT_EQ(log()[1].text, "Ostrel Futures Conversion: HTTP 401: {\"error\":\"bad key ***\"}");

  script.conversion->status = 200;
  ASSERT_TRUE(sentAt(at(2, 11, 20), script));
  for (const sim::LogEntry& line : log()) {
    EXPECT_EQ(line.text.find("key-0123456789"), std::string::npos) << line.text;
  }
  EXPECT_EQ(log().back().text, "Ostrel Futures Conversion API Error: \"bad key ***\".");
}

// A message-log line carries at most the first kibibyte of a body, then its full length.
TEST_F(FuturesConversion, LongBodiesAreLoggedAsTheirFirstKibibyte) {
  const std::string kib(1024, 'x');
  const std::string big = std::string(1024, ' ') + std::string(2 * 1024 * 1024, ' ') + "{}";
  struct Case {
    std::uint32_t status;
    std::string body;
    std::string line;
  } cases[] = {
      {503, kib, "Ostrel Futures Conversion: HTTP 503: " + kib},
      {503, kib + "y", "Ostrel Futures Conversion: HTTP 503: " + kib + "... (1025 bytes)"},
      {200, big,
       "Ostrel Futures Conversion: raw response: " + std::string(1024, ' ') +
           "... (2098178 bytes)"},
  };
  DateTime t = at(2, 11, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    CallScript script;
    script.conversion = DirectAnswer{true, c.status, c.body, ""};
    t += 16 * 60 * kSec;
    ASSERT_TRUE(sentAt(t, script));
    ASSERT_GE(log().size(), 2u);
    EXPECT_EQ(log()[1].text, c.line);
  }
  // The long answer was still parsed whole.
  EXPECT_EQ(log().back().text, "Ostrel Futures Conversion: -> ES  x1.0000  +0.00");
}

TEST_F(FuturesConversion, ParserAloneHandlesNullBodyAndTarget) {
  parseFuturesConversion(sim_.host(), nullptr, "ES");
  parseFuturesConversion(sim_.host(), "{\"multiplier\":2}", nullptr);
  EXPECT_EQ(premium(in::kMultiplicativePremium), 2.0f);
  EXPECT_EQ(premium(in::kAdditivePremium), 0.0f);
}

}  // namespace
}  // namespace ostrel

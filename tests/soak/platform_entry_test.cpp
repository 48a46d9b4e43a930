// The soak's platform entry: instances side by side and ending in any order, each call reaching
// its own instance, the binding's state released at removal, and answers that would carry the
// wrong request id reported.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "sim/replay_datetime.h"
#include "sim/sim_host.h"
#include "soak/entry.h"
#include "study/input_ids.h"
#include "study/state_keys.h"

namespace ostrel::soak {
namespace {

constexpr std::int64_t kMinute = 60 * sim::kMicrosPerSecond;
const DateTime kOpen = sim::dateTimeFromCivil(2026, 4, 14, (9 * 60 + 30) * kMinute);
const DateTime kLater = sim::dateTimeFromCivil(2026, 4, 14, (10 * 60 + 29) * kMinute);

class SoakPlatformEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    entry = makePlatformEntry(error);
    ASSERT_TRUE(entry) << error;
  }

  std::unique_ptr<sim::SimHost> load(const char* ticker) {
    auto sim = std::make_unique<sim::SimHost>();
    sim->setBars(kOpen, kMinute, 60);
    StudyHost& h = sim->host();
    h.CurrentTime = h.ClockTime = kOpen;
    h.CurrentBarIndex = h.BarCount - 1;
    h.IsDefaultsCall = 1;
    entry->call(*sim, sim::CallScript());
    h.IsDefaultsCall = 0;
    sim->input(in::kApiKey).setText("demo-key");
    sim->input(in::kTicker).setText(ticker);
    sim->input(in::kFuturesTarget).setText("");
    return sim;
  }

  const sim::CallRecord& call(sim::SimHost& sim, bool full, const char* answer = nullptr) {
    StudyHost& h = sim.host();
    h.CurrentTime = h.ClockTime = kLater;
    h.IsFullRecalc = full ? 1 : 0;
    sim::CallScript script;
    if (answer != nullptr) {
      script.response_ready = true;
      script.response_text = answer;
    }
    const sim::CallRecord& rec = entry->call(sim, script);
    h.IsFullRecalc = 0;
    return rec;
  }

  bool removeAndDrop(sim::SimHost& sim) {
    StudyHost& h = sim.host();
    h.IsRemovalCall = 1;
    entry->call(sim, sim::CallScript());
    h.IsRemovalCall = 0;
    return entry->drop(sim);
  }

  static std::int32_t historyState(const sim::SimHost& sim) {
    const std::int32_t* v = sim.intStore().find(key::history_state);
    return v != nullptr ? *v : -1;
  }

  static std::size_t started(const sim::CallRecord& rec) {
    std::size_t n = 0;
    for (const sim::RequestRecord& r : rec.requests) n += r.started ? 1 : 0;
    return n;
  }

  std::unique_ptr<SoakEntry> entry;
};

TEST_F(SoakPlatformEntry, EachCallReachesItsOwnInstanceWhicheverEndsFirst) {
  std::unique_ptr<sim::SimHost> a = load("SPX");
  std::unique_ptr<sim::SimHost> b = load("NDX");
  // The older instance's calls reach the study although a newer record is alive.
  const sim::CallRecord& first = call(*a, true);
  EXPECT_EQ(started(first), 1u);
  EXPECT_TRUE(entry->callProblem().empty()) << entry->callProblem();
  ASSERT_EQ(first.requests.size(), 1u);
  EXPECT_NE(first.requests[0].url.find("SPX"), std::string::npos) << first.requests[0].url;
  EXPECT_EQ(started(call(*b, true)), 1u);
  EXPECT_EQ(historyState(*b), Pending);

  // The older instance ends first; the newer one and a third one still reach the study.
  EXPECT_TRUE(removeAndDrop(*a));
  a.reset();
  std::unique_ptr<sim::SimHost> c = load("SPX");
  call(*b, false, "not json");  // the history answer reaches b's study, which refuses it
  EXPECT_TRUE(entry->callProblem().empty()) << entry->callProblem();
  EXPECT_NE(historyState(*b), Pending);
  EXPECT_EQ(started(call(*c, true)), 1u);
  EXPECT_TRUE(removeAndDrop(*c));
  EXPECT_TRUE(removeAndDrop(*b));
}

TEST_F(SoakPlatformEntry, DropWithoutRemovalReportsAndReleasesTheBindingsState) {
  std::unique_ptr<sim::SimHost> a = load("SPX");
  call(*a, true);
  EXPECT_FALSE(entry->drop(*a)) << "the binding held the instance: no removal call was made";
  EXPECT_TRUE(entry->drop(*a)) << "nothing is left to drop";
}

TEST_F(SoakPlatformEntry, AnAnswerThatWouldCarryAnotherRequestsIdIsReported) {
  std::unique_ptr<sim::SimHost> a = load("SPX");
  call(*a, false, "{}");  // an answer with no request outstanding
  EXPECT_NE(entry->callProblem().find("0 unanswered requests where the call answers one"),
            std::string::npos)
      << entry->callProblem();
  EXPECT_TRUE(removeAndDrop(*a));

  std::unique_ptr<sim::SimHost> b = load("SPX");
  ASSERT_EQ(started(call(*b, true)), 1u);
  EXPECT_TRUE(entry->callProblem().empty()) << entry->callProblem();
  call(*b, false);  // the request's answer withheld: the next answer would be misread
  EXPECT_NE(entry->callProblem().find("1 unanswered requests where the call answers none"),
            std::string::npos)
      << entry->callProblem();
  EXPECT_TRUE(removeAndDrop(*b)) << "a removal call supersedes the request in flight";
  EXPECT_TRUE(entry->callProblem().empty()) << entry->callProblem();
}

}  // namespace
}  // namespace ostrel::soak

// The host's one answer channel around a full recalculation: an answer handed over in the call
// that starts the majors history request belongs to the profile request the recalculation
// overtook, never to the history.
#include <gtest/gtest.h>

#include <string>

#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::at;
using test::kSecond;

const char* const kProfile = test::kTwoStrikeProfile;
const char* const kHistory = test::kOneHistoryPoint;

bool isHistory(const sim::RequestRecord& r) { return r.url.find("/hist/") != std::string::npos; }

class HistoryAnswerChannel : public test::StudyTest {
 protected:
  std::int64_t t0 = at(2026, 3, 10, 10, 0);
};

TEST_F(HistoryAnswerChannel, ProfileAnswerInTheRecalculationThatSendsTheHistoryIsNotTheHistorys) {
  call(t0);
  ASSERT_EQ(stored(key::profile_state), Pending);
  // The profile's answer arrives in the full recalculation, which sends the history request.
  const sim::CallRecord& recalc = fullRecalc(t0 + kSecond, answer(kProfile));
  ASSERT_EQ(recalc.requests.size(), 1u);  // the history only: one request on the channel
  EXPECT_TRUE(isHistory(recalc.requests[0]));
  EXPECT_EQ(stored(key::history_state), Pending);
  EXPECT_TRUE(recalc.placed.empty());
  EXPECT_EQ(sim.subgraph(0).values[15], 0.0f);
  // The history's own answer, in a later call, fills the subgraphs; the profile goes out.
  const sim::CallRecord& hist = call(t0 + 5 * kSecond, answer(kHistory));
  EXPECT_EQ(stored(key::history_state), Done);
  EXPECT_EQ(sim.subgraph(0).values[15], 5600.0f);
  EXPECT_EQ(sim.subgraph(1).values[15], 5400.0f);
  ASSERT_EQ(hist.requests.size(), 1u);
  EXPECT_FALSE(isHistory(hist.requests[0]));
}

TEST_F(HistoryAnswerChannel, HistoryPendingFromAnEarlierCallTakesTheAnswer) {
  fullRecalc(t0);
  ASSERT_EQ(stored(key::history_state), Pending);
  call(t0 + kSecond, answer(kHistory));
  EXPECT_EQ(stored(key::history_state), Done);
  EXPECT_EQ(sim.subgraph(2).values[15], 5500.0f);
}

}  // namespace
}  // namespace ostrel

// The check after a call of the hidden study: the study's own suspended call passes; drawings
// left on the chart, requests sent or records swapped are reported, once per stretch.
#include "soak/hidden_check.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/soak/check_fixture.h"

namespace ostrel {
namespace {

using test::kSecond;

class SoakHiddenCheck : public test::SoakCheckTest {
 protected:
  void SetUp() override {
    test::SoakCheckTest::SetUp();
    DrawingSpec line;
    line.DrawingType = 3;
    user_drawing = sim.addDrawing(line, /*study_own=*/false);
    call(t0);
    drawn = call(t0 + kSecond, answer(test::kTwoStrikeProfile)).placed.size();
  }
  // A suspended call at t0 + `second` s, through `study` (null: one that does nothing).
  const sim::CallRecord& hidden(int second, sim::StudyFunction study = &test::study) {
    sim.host().IsSuspended = 1;
    sim.host().CurrentTime = sim.host().ClockTime = t0 + second * kSecond;
    const sim::CallRecord& rec = sim.runCall(study);
    sim.host().IsSuspended = 0;
    return rec;
  }
  std::string latest() const { return reported(violations.kept().size() - 1); }

  std::size_t drawn = 0;
  std::int32_t user_drawing = 0;
  soak::ReportOnce once;
};

TEST_F(SoakHiddenCheck, TheStudysSuspendedCallLeavesNothingAndKeepsItsRecords) {
  ASSERT_GT(drawn, 0u);
  const soak::HeldRecords before = soak::heldRecords(sim);
  ASSERT_NE(before.gex, nullptr);
  soak::checkHiddenCall(sim, hidden(2), before, ctx, once);
  EXPECT_EQ(violations.count(), 0) << latest();
  EXPECT_EQ(soak::studyDrawingCount(sim), 0u);
  EXPECT_NE(sim.drawings().find(user_drawing), nullptr);
}

TEST_F(SoakHiddenCheck, WhatAHiddenStudyMustNotDoIsReportedOncePerStretch) {
  const soak::HeldRecords before = soak::heldRecords(sim);
  soak::checkHiddenCall(sim, hidden(2, nullptr), before, ctx, once);
  ASSERT_EQ(violations.count(), 1);
  const std::string left = std::to_string(drawn);
  EXPECT_EQ(latest(), "hidden study: " + left + " drawings of the study on the chart; " + left +
                          " drawing slots recorded");
  soak::checkHiddenCall(sim, hidden(3, nullptr), before, ctx, once);
  EXPECT_EQ(violations.count(), 1);  // the same problem in the same stretch

  sim::CallRecord sent;
  sent.requests.push_back({"https://host/profile", std::nullopt, {}, /*started=*/true});
  sent.conversions.emplace_back();
  soak::checkHiddenCall(sim, hidden(4), before, ctx, once);  // the study clears its drawings
  soak::checkHiddenCall(sim, sent, before, ctx, once);
  ASSERT_EQ(violations.count(), 2);
  EXPECT_EQ(latest(), "hidden study: 1 requests started; a futures conversion sent");

  soak::HeldRecords swapped = before;
  swapped.greek = &swapped;
  soak::checkHiddenCall(sim, hidden(5), swapped, ctx, once);
  ASSERT_EQ(violations.count(), 3);
  EXPECT_EQ(latest(), "hidden study: the profile records' stored pointers changed");
}

}  // namespace
}  // namespace ostrel

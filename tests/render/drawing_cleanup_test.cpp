#include "render/drawing_cleanup.h"

#include <gtest/gtest.h>

#include "render/drawing_slots.h"
#include "render_test_support.h"
#include "study/state_keys.h"

namespace ostrel::test {
namespace {

class DrawingCleanupTest : public RenderTest {
 protected:
  void setStored(std::int32_t key, std::int32_t value) {
    sim_.host().Ops.SetStoredInt(&sim_.host(), key, value);
  }
  // A study drawing of `type` recorded in slot `slot`.
  std::int32_t recorded(std::int32_t type, std::int32_t slot) {
    const std::int32_t number = sim_.addStaleDrawing(type);
    setStored(slot, number);
    if (stored(key::last_drawing_slot) < slot) setStored(key::last_drawing_slot, slot);
    return number;
  }
};

TEST_F(DrawingCleanupTest, RemoveAllDrawingsEmptiesEverySlot) {
  const std::int32_t a = recorded(kDrawingHorizontalLine, 8);
  const std::int32_t b = recorded(kDrawingRectangle, 10);
  const sim::CallRecord& rec = run([](StudyHost& h) { removeAllDrawings(h); });
  EXPECT_EQ(rec.removed_all, 1);
  EXPECT_EQ(rec.removed, (std::vector<std::int32_t>{a, b}));
  EXPECT_EQ(stored(8), 0);
  EXPECT_EQ(stored(10), 0);
  EXPECT_EQ(stored(key::last_drawing_slot), 0);
}

TEST_F(DrawingCleanupTest, SweepRemovesBarsAndMarkersAndEmptiesSlots) {
  const std::int32_t line = recorded(kDrawingHorizontalLine, 8);
  const std::int32_t bar = sim_.addStaleDrawing(kDrawingRectangle);
  const std::int32_t marker = sim_.addStaleDrawing(kDrawingMarker);
  const sim::CallRecord& rec = run([](StudyHost& h) { sweepStaleDrawings(h); });
  EXPECT_EQ(rec.removed_all, 0);
  // The line in front does not hide the stale drawings behind it; the sweep leaves it and it
  // goes through its slot.
  EXPECT_EQ(rec.removed, (std::vector<std::int32_t>{bar, marker, line}));
  EXPECT_TRUE(sim_.drawings().empty());
  EXPECT_EQ(stored(key::last_drawing_slot), 0);
}

TEST_F(DrawingCleanupTest, SweepStopsOnAHostThatKeepsAnsweringTheSameLine) {
  sim_.addStaleDrawing(kDrawingHorizontalLine);
  sim::CallScript script;
  script.find_drawing_sticky = true;
  std::int32_t finds = 0;
  const auto original = sim_.host().Ops.FindDrawing;
  static std::int32_t (*forward)(StudyHost*, std::int32_t, std::int32_t, DrawingSpec*,
                                 std::int32_t) = nullptr;
  static std::int32_t* counter = nullptr;
  forward = original;
  counter = &finds;
  sim_.host().Ops.FindDrawing = [](StudyHost* h, std::int32_t chart, std::int32_t filter,
                                   DrawingSpec* spec, std::int32_t index) {
    ++*counter;
    return forward(h, chart, filter, spec, index);
  };
  const sim::CallRecord& rec = run([](StudyHost& h) { sweepStaleDrawings(h); }, script);
  sim_.host().Ops.FindDrawing = original;
  EXPECT_EQ(finds, 20000);
  EXPECT_TRUE(rec.removed.empty());
}

TEST_F(DrawingCleanupTest, SweepStopsAfterTenThousandRemovals) {
  sim_.addStaleDrawing(kDrawingMarker);
  sim::CallScript script;
  script.find_drawing_sticky = true;  // the removed marker keeps coming back
  const sim::CallRecord& rec = run([](StudyHost& h) { sweepStaleDrawings(h); }, script);
  EXPECT_EQ(rec.removed.size(), 10000u);
}

TEST_F(DrawingCleanupTest, CorruptedLastSlotNeverReachesTheConversionTriggers) {
  setStored(key::conversion_0930_done, 1);
  setStored(key::conversion_0932_done, 1);
  setStored(key::last_drawing_slot, 2000000000);
  const sim::CallRecord& rec = run([](StudyHost& h) { emptyDrawingSlots(h); });
  EXPECT_TRUE(rec.removed.empty());
  EXPECT_EQ(stored(key::conversion_0930_done), 1);
  EXPECT_EQ(stored(key::conversion_0932_done), 1);
  EXPECT_EQ(stored(key::last_drawing_slot), 0);
}

TEST_F(DrawingCleanupTest, SlotsOutsideTheRangeAreNeitherReadNorWritten) {
  setStored(key::conversion_0930_done, 1);
  run([](StudyHost& h) {
    EXPECT_EQ(slotDrawingNumber(h, 1000), 0);
    EXPECT_EQ(slotDrawingNumber(h, 7), 0);
    recordDrawing(h, 1000, 55);
    recordDrawing(h, 1001, 56);
    recordDrawing(h, 7, 57);
    recordDrawing(h, 999, 58);
    releaseSlot(h, 1000);
  });
  EXPECT_EQ(stored(key::conversion_0930_done), 1);
  EXPECT_EQ(stored(key::conversion_0932_done), 0);
  EXPECT_EQ(stored(key::requests_halted), 0);
  EXPECT_EQ(stored(999), 58);
  EXPECT_EQ(stored(key::last_drawing_slot), 999);
}

}  // namespace
}  // namespace ostrel::test

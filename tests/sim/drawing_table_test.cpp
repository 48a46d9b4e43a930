#include "sim/drawing_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

namespace ostrel::sim {
namespace {

std::vector<std::int32_t> numbers(const DrawingTable& table) {
  std::vector<std::int32_t> out;
  for (const auto& entry : table) {
    EXPECT_EQ(entry.second.spec.DrawingNumber, entry.first);
    out.push_back(entry.first);
  }
  return out;
}

void addUpTo(DrawingTable& table, std::int32_t last) {
  for (std::int32_t n = table.lastNumber() + 1; n <= last; ++n) {
    SimDrawing& d = table.add(n);
    d.spec.DrawingNumber = n;
    d.spec.DrawingType = n % 3 == 0 ? kDrawingMarker : kDrawingRectangle;
    d.study_own = n % 10 != 0;
  }
}

// Removals of every other drawing, enough to compact the table several times over, keep the
// survivors in order and findable, and the removed ones gone.
TEST(DrawingTable, RemovalsAndCompactionKeepOrderAndLookups) {
  DrawingTable table;
  addUpTo(table, 2000);
  for (std::int32_t n = 1; n <= 2000; n += 2) EXPECT_TRUE(table.remove(n)) << n;
  EXPECT_FALSE(table.remove(1));  // already gone
  addUpTo(table, 2600);
  for (std::int32_t n = 2; n <= 1800; n += 2) EXPECT_TRUE(table.remove(n)) << n;
  std::vector<std::int32_t> expected;
  for (std::int32_t n = 1802; n <= 2000; n += 2) expected.push_back(n);
  for (std::int32_t n = 2001; n <= 2600; ++n) expected.push_back(n);
  EXPECT_EQ(numbers(table), expected);
  EXPECT_EQ(table.size(), expected.size());
  for (std::int32_t n = 0; n <= 2601; ++n) {
    const bool on_chart = (n >= 2001 && n <= 2600) || (n >= 1802 && n <= 2000 && n % 2 == 0);
    ASSERT_EQ(table.count(n), on_chart ? 1u : 0u) << n;
    if (on_chart) {
      ASSERT_EQ(table.at(n).spec.DrawingNumber, n);
    }
  }
  EXPECT_EQ(table.lastNumber(), 2600);
}

TEST(DrawingTable, NumbersOffTheChartAreNotFound) {
  DrawingTable table;
  EXPECT_TRUE(table.empty());
  EXPECT_EQ(table.find(1), nullptr);
  EXPECT_THROW(table.at(1), std::out_of_range);
  addUpTo(table, 5);
  for (std::int32_t n : {std::numeric_limits<std::int32_t>::min(), -1, 0, 6,
                         std::numeric_limits<std::int32_t>::max()}) {
    EXPECT_EQ(table.find(n), nullptr) << n;
    EXPECT_FALSE(table.remove(n)) << n;
  }
  EXPECT_EQ(table.size(), 5u);
}

// removeIf and nth see only drawings on the chart, in number order.
TEST(DrawingTable, BulkRemovalAndNthFollowThePredicate) {
  DrawingTable table;
  addUpTo(table, 30);
  table.remove(3);
  const auto markers = [](const SimDrawing& d) {
    return d.study_own && d.spec.DrawingType == kDrawingMarker;
  };
  ASSERT_NE(table.nth(0, markers), nullptr);
  EXPECT_EQ(table.nth(0, markers)->first, 6);  // 3 is removed
  EXPECT_EQ(table.nth(2, markers)->first, 12);
  EXPECT_EQ(table.nth(8, markers), nullptr);  // 6, 9, 12, 15, 18, 21, 24, 27: eight
  EXPECT_EQ(table.removeIf([](const SimDrawing& d) { return d.study_own; }), 26);
  EXPECT_EQ(numbers(table), (std::vector<std::int32_t>{10, 20, 30}));
}

}  // namespace
}  // namespace ostrel::sim

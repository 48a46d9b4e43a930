#include "sim/stored_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "host/host_string.h"

namespace ostrel::sim {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Keys in the array and in the map alike start at 0, keep their address while thousands of
// other keys are created, and come out of view() in ascending order.
TEST(StoredValues, EveryKeyStartsAtZeroAndKeepsItsAddress) {
  StoredValues<std::int32_t> store;
  const std::vector<std::int32_t> keys = {kMin, -1, 0, 1, 4095, 4096, kMax};
  std::vector<std::int32_t*> slots;
  for (std::int32_t key : keys) {
    EXPECT_EQ(store.find(key), nullptr) << key;
    slots.push_back(&store.at(key));
    EXPECT_EQ(*slots.back(), 0) << key;
    *slots.back() = key == 0 ? 7 : key;
  }
  for (std::int32_t key = -3000; key < 9000; ++key) store.at(key);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(&store.at(keys[i]), slots[i]) << keys[i];
    EXPECT_EQ(store.find(keys[i]), slots[i]) << keys[i];
  }
  const Store<std::int32_t>& view = store.view();
  EXPECT_EQ(view.values.size(), 12000u + 2u);  // -3000..8999, kMin and kMax
  std::int32_t previous = kMin;
  bool first = true;
  for (const auto& entry : view.values) {
    EXPECT_TRUE(first || entry.first > previous);
    first = false;
    previous = entry.first;
  }
  EXPECT_EQ(view.values.at(0), 7);
  EXPECT_EQ(view.values.at(kMin), kMin);
  EXPECT_EQ(view.values.at(4096), 4096);
}

// set() marks a key even when it stores 0; markEverSet marks keys holding a value that counts,
// and a mark stays when the value goes back to 0.
TEST(StoredValues, EverSetMarksSettersAndValuesThatCount) {
  StoredValues<std::int32_t> store;
  store.set(3, 0);
  store.set(-5, 0);
  store.at(4) = 9;
  store.at(5000) = 9;
  store.at(6) = 0;
  store.at(kMax) = 0;
  EXPECT_EQ(store.view().ever_set, (std::set<std::int32_t>{-5, 3}));
  store.markEverSet([](std::int32_t v) { return v != 0; });
  store.at(4) = 0;
  store.markEverSet([](std::int32_t v) { return v != 0; });
  EXPECT_EQ(store.view().ever_set, (std::set<std::int32_t>{-5, 3, 4, 5000}));
  EXPECT_TRUE(store.any([](std::int32_t v) { return v == 9; }));  // key 5000
  EXPECT_FALSE(store.any([](std::int32_t v) { return v == 8; }));
}

// view() updates in place: an iterator taken before later writes and view() calls still points
// at its key and reads the current value; texts are copied by content.
TEST(StoredValues, ViewIsUpdatedInPlace) {
  StoredValues<HostString> texts;
  texts.at(2).assign("SPX");
  const auto& values = texts.view().values;
  const auto it = values.find(2);
  ASSERT_NE(it, values.end());
  texts.at(2).assign("NDX");
  texts.at(1).assign("ES");
  texts.at(-1).assign("neg");
  texts.view();
  EXPECT_STREQ(it->second.c_str(), "NDX");
  EXPECT_EQ(values.size(), 3u);
  EXPECT_STREQ(values.begin()->second.c_str(), "neg");
}

}  // namespace
}  // namespace ostrel::sim

#include "sim/input_watch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ostrel::sim {
namespace {

// Each kind of write the study can make to a slot is a change; writing the same content back,
// even into new storage, is not. A same-length text rewritten in place is a change.
TEST(InputWatch, ReportsEveryFieldThatChangedAndOnlyThose) {
  std::vector<StudyInput> inputs(12);
  inputs[1].setText("abc");
  inputs[2].setText("abc");
  inputs[3].setCustomList(1);
  inputs[3].setOptions("A;B");
  inputs[4].setFloat(-0.0f);
  InputWatch watch;
  watch.take(inputs);
  inputs[1].setText("xyz");  // same length, same storage
  inputs[2].text.clear();
  inputs[2].setText("abc");  // same content, new storage
  inputs[3].setOptions("A;C");
  inputs[4].setFloat(0.0f);  // equal as a number, not bit for bit
  inputs[5].setInteger(0);   // a type on an empty slot
  inputs[6].display_position = 3;
  inputs[7].name.assign("Ticker");
  inputs[8].setText(nullptr);  // a text slot without text
  inputs[9].colour_value = 0xFF;
  inputs[10].has_text = 1;
  std::vector<std::int32_t> changed;
  watch.changed(inputs, changed);
  EXPECT_EQ(changed, (std::vector<std::int32_t>{1, 3, 4, 5, 6, 7, 8, 9, 10}));
  watch.take(inputs);
  changed.clear();
  watch.changed(inputs, changed);
  EXPECT_TRUE(changed.empty());
}

}  // namespace
}  // namespace ostrel::sim

// InputWatch: tells which input slots a call changed. take() notes the slots' content before
// the call, changed() compares after it: type, the value fields bit for bit, the text flag, the
// display position, and the texts (name, text, options) as zero-terminated strings, so writing
// the same content back is not a change. The noted texts keep their storage from call to call,
// so a steady run of calls allocates nothing here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/study_input.h"

namespace ostrel::sim {

class InputWatch {
 public:
  void take(const std::vector<StudyInput>& inputs);
  // The slots whose content differs from the last take(), ascending, appended to `out`.
  // Slots beyond those noted count as changed.
  void changed(const std::vector<StudyInput>& inputs, std::vector<std::int32_t>& out) const;

 private:
  struct Slot {
    InputType type = InputType::kNone;
    std::uint64_t double_bits = 0;
    std::int32_t int_value = 0;
    std::uint32_t colour_value = 0;
    std::int32_t has_text = 0;
    std::int32_t display_position = 0;
    std::string name;
    std::string text;
    std::string options;
  };

  static bool same(const Slot& noted, const StudyInput& now) noexcept;

  std::vector<Slot> slots_;
};

}  // namespace ostrel::sim

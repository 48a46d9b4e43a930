#include "sim/input_watch.h"

#include <cstring>

namespace ostrel::sim {
namespace {

std::uint64_t bitsOf(double value) noexcept {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

void InputWatch::take(const std::vector<StudyInput>& inputs) {
  slots_.resize(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const StudyInput& in = inputs[i];
    Slot& s = slots_[i];
    s.type = in.type;
    s.double_bits = bitsOf(in.double_value);
    s.int_value = in.int_value;
    s.colour_value = in.colour_value;
    s.has_text = in.has_text;
    s.display_position = in.display_position;
    s.name.assign(in.name.c_str());
    s.text.assign(in.text.c_str());
    s.options.assign(in.options.c_str());
  }
}

bool InputWatch::same(const Slot& noted, const StudyInput& now) noexcept {
  return noted.type == now.type && noted.double_bits == bitsOf(now.double_value) &&
         noted.int_value == now.int_value && noted.colour_value == now.colour_value &&
         noted.has_text == now.has_text && noted.display_position == now.display_position &&
         std::strcmp(noted.text.c_str(), now.text.c_str()) == 0 &&
         std::strcmp(noted.options.c_str(), now.options.c_str()) == 0 &&
         std::strcmp(noted.name.c_str(), now.name.c_str()) == 0;
}

void InputWatch::changed(const std::vector<StudyInput>& inputs,
                         std::vector<std::int32_t>& out) const {
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (i >= slots_.size() || !same(slots_[i], inputs[i])) {
      out.push_back(static_cast<std::int32_t>(i));
    }
  }
}

}  // namespace ostrel::sim

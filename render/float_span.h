// FloatSpan: a read-only view of a run of floats (a record's sequence) without copying it.
#pragma once

#include <cstddef>
#include <vector>

namespace ostrel {

struct FloatSpan {
  const float* data = nullptr;
  std::size_t size = 0;

  FloatSpan() noexcept = default;
  FloatSpan(const float* first, std::size_t count) noexcept : data(first), size(count) {}
  FloatSpan(const std::vector<float>& values) noexcept  // NOLINT: implicit by design
      : data(values.data()), size(values.size()) {}

  bool empty() const noexcept { return size == 0; }
  float operator[](std::size_t index) const noexcept { return data[index]; }
};

}  // namespace ostrel

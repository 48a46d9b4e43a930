#include "fuzz/platform_arrays.h"

#include <algorithm>

namespace ostrel::fuzz {
namespace {

// The arrays of the call in progress, for the platform's on-use function (it carries an int).
thread_local PlatformArrays* t_in_use = nullptr;

constexpr int kTimesParam = 2 * PlatformArrays::kSubgraphs;

}  // namespace

void PlatformArrays::setBarShape(ArrayShape shape, std::int32_t short_by) noexcept {
  times_.shape = shape;
  times_.short_by = short_by;
  times_.allocated = false;
}

void PlatformArrays::setSubgraphShape(int subgraph, int which, ArrayShape shape,
                                      std::int32_t short_by) noexcept {
  if (subgraph < 0 || subgraph >= kSubgraphs) return;
  if (which == 0) {
    values_[subgraph].shape = shape;
    values_[subgraph].short_by = short_by;
    values_[subgraph].allocated = false;
  } else {
    colours_[subgraph].shape = shape;
    colours_[subgraph].short_by = short_by;
    colours_[subgraph].allocated = false;
  }
}

template <typename T>
void PlatformArrays::allocate(Block<T>& b) {
  std::int32_t size = bars_;
  if (b.shape == ArrayShape::kShort) size = b.short_by >= bars_ ? 0 : bars_ - b.short_by;
  if (size != b.size) {
    std::unique_ptr<T[]> data(size > 0 ? new T[static_cast<std::size_t>(size)]() : nullptr);
    if (b.data != nullptr)
      std::copy(b.data.get(), b.data.get() + std::min(size, b.size), data.get());
    b.data = std::move(data);
    b.size = size;
  }
}

template <typename T>
void PlatformArrays::place(Block<T>& b, c_ArrayWrapper<T>& wrapper, int param) {
  b.wrapper = &wrapper;
  const bool unallocated =
      b.shape == ArrayShape::kAbsent || (b.shape == ArrayShape::kUnallocated && !b.allocated);
  if (unallocated) {
    b.data.reset();
    b.size = 0;
    wrapper.InternalSetArray(nullptr, 0);
    wrapper.InternalSetOnUsed(b.shape == ArrayShape::kUnallocated ? &onUsed : nullptr, param);
    return;
  }
  allocate(b);
  wrapper.InternalSetArray(b.data.get(), b.size);
  wrapper.InternalSetOnUsed(nullptr, 0);
}

void PlatformArrays::install(s_sc& sc, const DateTime* times, std::int32_t count) {
  chart_times_ = times;
  bars_ = times != nullptr && count > 0 ? count : 0;
  place(times_, sc.BaseDateTimeIn, kTimesParam);
  for (std::int32_t i = 0; i < times_.size; ++i) times_.data[i].SetInternalDateTime(times[i]);
  s_SCSubgraph_260* subgraphs = sc.Subgraph.GetPointer();
  if (subgraphs == nullptr || sc.Subgraph.GetArraySize() < kSubgraphs) return;
  for (int k = 0; k < kSubgraphs; ++k) {
    place(values_[k], subgraphs[k].Data, k);
    place(colours_[k], subgraphs[k].DataColor, kSubgraphs + k);
  }
}

void PlatformArrays::use() noexcept { t_in_use = this; }
void PlatformArrays::unuse() noexcept { t_in_use = nullptr; }

void SCDLLCALL PlatformArrays::onUsed(int param) {
  PlatformArrays* self = t_in_use;
  if (self == nullptr || param < 0 || param > kTimesParam) return;
  if (param == kTimesParam) {
    Block<SCDateTime>& b = self->times_;
    self->allocate(b);
    b.allocated = true;
    for (std::int32_t i = 0; i < b.size; ++i) b.data[i].SetInternalDateTime(self->chart_times_[i]);
    if (b.wrapper != nullptr) b.wrapper->InternalSetArray(b.data.get(), b.size);
    return;
  }
  if (param < kSubgraphs) {
    Block<float>& b = self->values_[param];
    self->allocate(b);
    b.allocated = true;
    if (b.wrapper != nullptr) b.wrapper->InternalSetArray(b.data.get(), b.size);
    return;
  }
  Block<std::uint32_t>& b = self->colours_[param - kSubgraphs];
  self->allocate(b);
  b.allocated = true;
  if (b.wrapper != nullptr) b.wrapper->InternalSetArray(b.data.get(), b.size);
}

}  // namespace ostrel::fuzz

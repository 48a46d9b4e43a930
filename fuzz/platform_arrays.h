// PlatformArrays: the platform record's per-bar arrays held in guarded storage for the platform
// entry's fuzz target. Each array is its own heap block of exactly its element count, so that
// AddressSanitizer reports any element written or read past the end, where the simulator's
// growable vectors would hide it in their spare capacity.
//
// Held: the bar times and, for the subgraphs the study publishes, each one's values and
// colours. A subgraph array has a shape: it follows the chart's bar count (the platform's own
// shape), is shorter than the chart by a fixed count, or is not allocated yet (null), with or
// without the platform's on-first-use allocation. The bar times can be unallocated or short too.
// Values kept from call to call in the bars that remain, as the platform keeps them.
//
// install() points the record's wrappers at these blocks, for one call; the on-use allocation
// reaches the arrays of the call in progress through a pointer set while install()'s caller
// runs the study (use(), unuse()).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/study_host.h"
#include "platform/platform_sdk.h"

namespace ostrel::fuzz {

enum class ArrayShape : std::uint8_t {
  kFollow,       // as many elements as the chart has bars
  kShort,        // `short_by` fewer (none left when the chart has fewer)
  kUnallocated,  // null; the element access allocates it (the platform's on-use function)
  kAbsent,       // null, and no on-use function: it stays null
};

class PlatformArrays {
 public:
  static constexpr int kSubgraphs = 19;

  void setBarShape(ArrayShape shape, std::int32_t short_by) noexcept;
  // `which`: 0 values, 1 colours.
  void setSubgraphShape(int subgraph, int which, ArrayShape shape, std::int32_t short_by) noexcept;

  // The record's bar times from `times` (the chart's, `count` of them) and its subgraph arrays,
  // in the shapes set.
  void install(s_sc& sc, const DateTime* times, std::int32_t count);
  void use() noexcept;
  static void unuse() noexcept;

 private:
  template <typename T>
  struct Block {
    ArrayShape shape = ArrayShape::kFollow;
    std::int32_t short_by = 0;
    bool allocated = false;  // not allocated before the call, allocated on use in it
    std::unique_ptr<T[]> data;
    std::int32_t size = 0;
    c_ArrayWrapper<T>* wrapper = nullptr;  // the record's, during a call
  };

  static void SCDLLCALL onUsed(int param);
  template <typename T>
  void place(Block<T>& b, c_ArrayWrapper<T>& wrapper, int param);
  template <typename T>
  void allocate(Block<T>& b);

  Block<float> values_[kSubgraphs];
  Block<std::uint32_t> colours_[kSubgraphs];
  Block<SCDateTime> times_;
  const DateTime* chart_times_ = nullptr;
  std::int32_t bars_ = 0;
};

}  // namespace ostrel::fuzz

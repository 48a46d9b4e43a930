#include "sim/drawing_table.h"

#include <algorithm>
#include <stdexcept>

namespace ostrel::sim {
namespace {

// Compaction waits for this many removed entries, so a small chart is not compacted on every
// removal.
constexpr std::size_t kMinRemovedToCompact = 64;

}  // namespace

std::size_t DrawingTable::indexOf(std::int32_t number) const noexcept {
  const std::size_t none = entries_.size();
  if (entries_.empty() || number < entries_.front().item.first || number > last_number_) {
    return none;
  }
  // Without compaction in between, numbers from the first entry on are consecutive slots.
  std::size_t index =
      static_cast<std::size_t>(static_cast<std::int64_t>(number) - entries_.front().item.first);
  if (index >= none || entries_[index].item.first != number) {
    const auto it =
        std::lower_bound(entries_.begin(), entries_.end(), number,
                         [](const Entry& e, std::int32_t n) { return e.item.first < n; });
    if (it == entries_.end() || it->item.first != number) return none;
    index = static_cast<std::size_t>(it - entries_.begin());
  }
  return entries_[index].live ? index : none;
}

SimDrawing* DrawingTable::find(std::int32_t number) noexcept {
  const std::size_t i = indexOf(number);
  return i < entries_.size() ? &entries_[i].item.second : nullptr;
}

const SimDrawing* DrawingTable::find(std::int32_t number) const noexcept {
  const std::size_t i = indexOf(number);
  return i < entries_.size() ? &entries_[i].item.second : nullptr;
}

const SimDrawing& DrawingTable::at(std::int32_t number) const {
  const SimDrawing* d = find(number);
  if (d == nullptr) throw std::out_of_range("no drawing with that number");
  return *d;
}

SimDrawing& DrawingTable::add(std::int32_t number) {
  entries_.push_back(Entry{value_type(number, SimDrawing()), true});
  last_number_ = number;
  ++live_;
  return entries_.back().item.second;
}

bool DrawingTable::remove(std::int32_t number) {
  const std::size_t i = indexOf(number);
  if (i >= entries_.size()) return false;
  entries_[i].live = false;
  --live_;
  compactIfSparse();
  return true;
}

void DrawingTable::compactIfSparse() {
  const std::size_t removed = entries_.size() - live_;
  if (removed < kMinRemovedToCompact || removed <= live_) return;
  entries_.erase(
      std::remove_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.live; }),
      entries_.end());
}

}  // namespace ostrel::sim

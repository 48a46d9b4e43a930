// DrawingTable: the drawings on the simulated chart, by number, in ascending number order.
//
// Numbers are handed out upwards and never reused, so a new drawing is appended at the end of a
// flat array; a removed one is only marked, and the array is compacted once removed entries
// outnumber the drawings left (amortised constant time per removal). A look-up by number is a
// direct index while no compaction has happened since the number was placed, and a binary
// search otherwise.
//
// Read like a std::map<std::int32_t, SimDrawing>: iteration yields entries with `first` (the
// number) and `second` (the drawing), in ascending number order; size, empty, count and at
// (which throws std::out_of_range for a number not on the chart). Entries may move when
// drawings are added or removed: hold none across a host operation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "host/drawing_spec.h"

namespace ostrel::sim {

struct SimDrawing {
  DrawingSpec spec;  // DrawingNumber holds the drawing's number
  bool study_own = true;
};

class DrawingTable {
 public:
  using value_type = std::pair<std::int32_t, SimDrawing>;

 private:
  struct Entry {
    value_type item;
    bool live = true;
  };

 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = DrawingTable::value_type;
    using difference_type = std::ptrdiff_t;
    using pointer = const value_type*;
    using reference = const value_type&;

    const value_type& operator*() const noexcept { return pos_->item; }
    const value_type* operator->() const noexcept { return &pos_->item; }
    const_iterator& operator++() noexcept {
      ++pos_;
      skipRemoved();
      return *this;
    }
    bool operator==(const const_iterator& other) const noexcept { return pos_ == other.pos_; }
    bool operator!=(const const_iterator& other) const noexcept { return pos_ != other.pos_; }

   private:
    friend class DrawingTable;
    const_iterator(const Entry* pos, const Entry* end) noexcept : pos_(pos), end_(end) {
      skipRemoved();
    }
    void skipRemoved() noexcept {
      while (pos_ != end_ && !pos_->live) ++pos_;
    }
    const Entry* pos_;
    const Entry* end_;
  };

  const_iterator begin() const noexcept {
    return const_iterator(entries_.data(), entries_.data() + entries_.size());
  }
  const_iterator end() const noexcept {
    const Entry* last = entries_.data() + entries_.size();
    return const_iterator(last, last);
  }
  std::size_t size() const noexcept { return live_; }
  bool empty() const noexcept { return live_ == 0; }
  std::size_t count(std::int32_t number) const noexcept { return find(number) != nullptr ? 1 : 0; }
  const SimDrawing& at(std::int32_t number) const;

  // The drawing numbered `number`, or null when there is none on the chart.
  SimDrawing* find(std::int32_t number) noexcept;
  const SimDrawing* find(std::int32_t number) const noexcept;

  // The largest number ever added (0 before any); a new drawing needs a larger one.
  std::int32_t lastNumber() const noexcept { return last_number_; }
  // Adds a drawing numbered `number` > lastNumber() and answers it (default state).
  SimDrawing& add(std::int32_t number);
  // False when there is no drawing numbered `number`.
  bool remove(std::int32_t number);
  // Removes every drawing that satisfies `pred` and answers how many.
  template <typename Pred>
  std::int32_t removeIf(Pred pred) {
    std::int32_t count = 0;
    for (Entry& e : entries_) {
      if (e.live && pred(e.item.second)) {
        e.live = false;
        ++count;
      }
    }
    live_ -= static_cast<std::size_t>(count);
    compactIfSparse();
    return count;
  }

  // The index-th (0-based) live drawing, in number order, that satisfies `pred`; null if none.
  template <typename Pred>
  const value_type* nth(std::int32_t index, Pred pred) const {
    std::int32_t seen = 0;
    for (const Entry& e : entries_) {
      if (!e.live || !pred(e.item.second)) continue;
      if (seen++ == index) return &e.item;
    }
    return nullptr;
  }

 private:
  // Index of the live entry numbered `number`, or entries_.size() when there is none.
  std::size_t indexOf(std::int32_t number) const noexcept;
  void compactIfSparse();

  std::vector<Entry> entries_;  // ascending numbers, removed ones included until compaction
  std::size_t live_ = 0;
  std::int32_t last_number_ = 0;
};

}  // namespace ostrel::sim

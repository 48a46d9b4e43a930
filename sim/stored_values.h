// StoredValues: one store of the simulated host's per-instance stored values (ints, floats,
// times, texts or pointers), keyed by a 32-bit key.
//
// Keys 0..kFlatKeys-1 (the study's keys) live in an array sized once at construction; any other
// key lives in a map. Either way an entry is created with T() on first access and never moves,
// so a reference handed out stays valid as long as the store lives.
//
// A key counts as "ever set" once set() was called for it, or once markEverSet found it
// holding a value that counts as set (the host checks at the end of every call). view() answers
// the store as ordered containers (every key accessed, and the ever-set keys); it is brought up
// to date on each view() call, in place, so iterators into it stay valid across calls of
// view() (keys are never dropped).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <set>
#include <vector>

namespace ostrel::sim {

// A store as ordered containers, for inspection.
template <typename T>
struct Store {
  std::map<std::int32_t, T> values;
  std::set<std::int32_t> ever_set;
};

template <typename T>
class StoredValues {
 public:
  static constexpr std::int32_t kFlatKeys = 4096;

  StoredValues() : flat_(kFlatKeys), marks_(kFlatKeys, 0) {}

  // The entry of `key`, created with T() on first access.
  T& at(std::int32_t key) {
    if (isFlat(key)) {
      const std::size_t k = static_cast<std::size_t>(key);
      if ((marks_[k] & kPresent) == 0) addFlat(key);
      return flat_[k];
    }
    return other_[key];
  }

  // The entry of `key`, or null when it was never accessed.
  const T* find(std::int32_t key) const {
    if (isFlat(key)) {
      const std::size_t k = static_cast<std::size_t>(key);
      return (marks_[k] & kPresent) != 0 ? &flat_[k] : nullptr;
    }
    const auto it = other_.find(key);
    return it != other_.end() ? &it->second : nullptr;
  }

  void set(std::int32_t key, const T& value) {
    at(key) = value;
    if (isFlat(key)) {
      marks_[static_cast<std::size_t>(key)] |= kEverSet;
    } else {
      other_ever_set_.insert(key);
    }
  }

  // Marks every accessed key whose value satisfies `is_set`.
  template <typename IsSet>
  void markEverSet(IsSet is_set) {
    for (std::int32_t key = lowest_; key <= highest_; ++key) {
      const std::size_t k = static_cast<std::size_t>(key);
      if (marks_[k] == kPresent && is_set(flat_[k])) marks_[k] |= kEverSet;
    }
    for (const auto& entry : other_) {
      if (is_set(entry.second)) other_ever_set_.insert(entry.first);
    }
  }

  // True when some accessed entry satisfies `pred`.
  template <typename Pred>
  bool any(Pred pred) const {
    for (std::int32_t key = lowest_; key <= highest_; ++key) {
      const std::size_t k = static_cast<std::size_t>(key);
      if ((marks_[k] & kPresent) != 0 && pred(flat_[k])) return true;
    }
    for (const auto& entry : other_) {
      if (pred(entry.second)) return true;
    }
    return false;
  }

  // Calls f(key, value) for every accessed key: the array's keys in ascending order, then the
  // map's. Cheap enough to run after every call (no allocation).
  template <typename F>
  void forEach(F f) const {
    for (std::int32_t key = lowest_; key <= highest_; ++key) {
      const std::size_t k = static_cast<std::size_t>(key);
      if ((marks_[k] & kPresent) != 0) f(key, flat_[k]);
    }
    for (const auto& entry : other_) f(entry.first, entry.second);
  }

  const Store<T>& view() const {
    auto hint = view_.values.begin();
    auto set_hint = view_.ever_set.begin();
    const auto add = [&](std::int32_t key, const T& value, bool ever_set) {
      hint = std::next(view_.values.insert_or_assign(hint, key, value));
      if (ever_set) set_hint = std::next(view_.ever_set.insert(set_hint, key));
    };
    // Ascending key order, so each hint is right: the map's negative keys, the array, the rest.
    auto it = other_.begin();
    for (; it != other_.end() && it->first < 0; ++it) {
      add(it->first, it->second, other_ever_set_.count(it->first) != 0);
    }
    for (std::int32_t key = lowest_; key <= highest_; ++key) {
      const std::size_t k = static_cast<std::size_t>(key);
      if ((marks_[k] & kPresent) != 0) add(key, flat_[k], (marks_[k] & kEverSet) != 0);
    }
    for (; it != other_.end(); ++it) {
      add(it->first, it->second, other_ever_set_.count(it->first) != 0);
    }
    return view_;
  }

 private:
  static constexpr std::uint8_t kPresent = 1;
  static constexpr std::uint8_t kEverSet = 2;

  static bool isFlat(std::int32_t key) noexcept { return key >= 0 && key < kFlatKeys; }

  void addFlat(std::int32_t key) {
    marks_[static_cast<std::size_t>(key)] = kPresent;
    if (key < lowest_) lowest_ = key;
    if (key > highest_) highest_ = key;
  }

  std::vector<T> flat_;
  std::vector<std::uint8_t> marks_;
  // The accessed keys of the array lie in [lowest_, highest_] (empty while lowest_ > highest_).
  std::int32_t lowest_ = kFlatKeys;
  std::int32_t highest_ = -1;
  std::map<std::int32_t, T> other_;
  std::set<std::int32_t> other_ever_set_;
  mutable Store<T> view_;
};

}  // namespace ostrel::sim

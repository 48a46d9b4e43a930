// The allocator behind every JSON document we parse, and the parse stack that goes with it.
//
// ThrowingAllocator is RapidJSON's CrtAllocator, except that running out of memory throws
// std::bad_alloc instead of returning the null pointer that RapidJSON 1.1.0 writes through.
//
// RapidJSON 1.1.0's internal::Stack tests for room with `stackTop_ + n > stackEnd_` while its
// storage is still unallocated (null), which is undefined behaviour (pointer arithmetic on null)
// on the first push of every parse. Because the parser's stacks are internal::Stack<A> for the
// document's stack allocator A, we give internal::Stack<ThrowingAllocator> its own definition:
// the same interface and growth policy, with the room test done on sizes. This header must be
// seen before anything instantiates a document with this allocator; json_document.h includes it
// first, and the JSON layer is used only through json_document.h.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#include <rapidjson/internal/stack.h>
#include <rapidjson/rapidjson.h>

namespace ostrel::json {

class ThrowingAllocator {
 public:
  static const bool kNeedFree = true;
  void* Malloc(std::size_t size) {
    if (size == 0) return nullptr;  // as CrtAllocator: "no block", not a failure
    void* block = std::malloc(size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
  void* Realloc(void* original, std::size_t, std::size_t new_size) {
    if (new_size == 0) {
      std::free(original);
      return nullptr;
    }
    void* block = std::realloc(original, new_size);
    if (block == nullptr) throw std::bad_alloc();  // `original` stays valid and owned
    return block;
  }
  static void Free(void* block) noexcept { std::free(block); }
};

}  // namespace ostrel::json

RAPIDJSON_NAMESPACE_BEGIN
namespace internal {

template <>
class Stack<ostrel::json::ThrowingAllocator> {
  using Allocator = ostrel::json::ThrowingAllocator;

 public:
  Stack(Allocator* allocator, std::size_t capacity) : allocator_(allocator), initial_(capacity) {}
  Stack(Stack&& other) noexcept { take(other); }
  Stack& operator=(Stack&& other) noexcept {
    if (&other != this) {
      destroy();
      take(other);
    }
    return *this;
  }
  Stack(const Stack&) = delete;
  Stack& operator=(const Stack&) = delete;
  ~Stack() { destroy(); }

  void Swap(Stack& other) noexcept {
    internal::Swap(allocator_, other.allocator_);
    internal::Swap(own_allocator_, other.own_allocator_);
    internal::Swap(stack_, other.stack_);
    internal::Swap(top_, other.top_);
    internal::Swap(end_, other.end_);
    internal::Swap(initial_, other.initial_);
  }

  void Clear() { top_ = stack_; }
  void ShrinkToFit() {
    if (Empty()) {
      Allocator::Free(stack_);
      stack_ = top_ = end_ = nullptr;
    } else {
      resize(GetSize());
    }
  }

  template <typename T>
  void Reserve(std::size_t count = 1) {
    if (static_cast<std::size_t>(end_ - top_) < sizeof(T) * count) expand(sizeof(T) * count);
  }
  template <typename T>
  T* Push(std::size_t count = 1) {
    Reserve<T>(count);
    return PushUnsafe<T>(count);
  }
  template <typename T>
  T* PushUnsafe(std::size_t count = 1) {
    RAPIDJSON_ASSERT(static_cast<std::size_t>(end_ - top_) >= sizeof(T) * count);
    T* pushed = reinterpret_cast<T*>(top_);
    top_ += sizeof(T) * count;
    return pushed;
  }
  template <typename T>
  T* Pop(std::size_t count) {
    RAPIDJSON_ASSERT(GetSize() >= count * sizeof(T));
    top_ -= count * sizeof(T);
    return reinterpret_cast<T*>(top_);
  }
  template <typename T>
  T* Top() {
    RAPIDJSON_ASSERT(GetSize() >= sizeof(T));
    return reinterpret_cast<T*>(top_ - sizeof(T));
  }
  template <typename T>
  const T* Top() const {
    RAPIDJSON_ASSERT(GetSize() >= sizeof(T));
    return reinterpret_cast<const T*>(top_ - sizeof(T));
  }
  template <typename T>
  T* End() {
    return reinterpret_cast<T*>(top_);
  }
  template <typename T>
  const T* End() const {
    return reinterpret_cast<const T*>(top_);
  }
  template <typename T>
  T* Bottom() {
    return reinterpret_cast<T*>(stack_);
  }
  template <typename T>
  const T* Bottom() const {
    return reinterpret_cast<const T*>(stack_);
  }

  bool HasAllocator() const { return allocator_ != nullptr; }
  Allocator& GetAllocator() {
    RAPIDJSON_ASSERT(allocator_);
    return *allocator_;
  }
  bool Empty() const { return top_ == stack_; }
  std::size_t GetSize() const { return static_cast<std::size_t>(top_ - stack_); }
  std::size_t GetCapacity() const { return static_cast<std::size_t>(end_ - stack_); }

 private:
  void expand(std::size_t bytes) {
    std::size_t capacity;
    if (stack_ == nullptr) {
      if (allocator_ == nullptr) own_allocator_ = allocator_ = RAPIDJSON_NEW(Allocator());
      capacity = initial_;
    } else {
      capacity = GetCapacity();
      capacity += (capacity + 1) / 2;
    }
    const std::size_t needed = GetSize() + bytes;
    if (capacity < needed) capacity = needed;
    resize(capacity);
  }
  void resize(std::size_t capacity) {
    const std::size_t size = GetSize();
    stack_ = static_cast<char*>(allocator_->Realloc(stack_, GetCapacity(), capacity));
    top_ = stack_ + size;
    end_ = stack_ + capacity;
  }
  void destroy() {
    Allocator::Free(stack_);
    RAPIDJSON_DELETE(own_allocator_);
  }
  void take(Stack& other) noexcept {
    allocator_ = other.allocator_;
    own_allocator_ = other.own_allocator_;
    stack_ = other.stack_;
    top_ = other.top_;
    end_ = other.end_;
    initial_ = other.initial_;
    other.allocator_ = other.own_allocator_ = nullptr;
    other.stack_ = other.top_ = other.end_ = nullptr;
    other.initial_ = 0;
  }

  Allocator* allocator_ = nullptr;
  Allocator* own_allocator_ = nullptr;
  char* stack_ = nullptr;
  char* top_ = nullptr;
  char* end_ = nullptr;
  std::size_t initial_ = 0;
};

}  // namespace internal
RAPIDJSON_NAMESPACE_END

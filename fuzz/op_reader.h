// OpReader: a fuzz input read front to back as little-endian fields. Past the end every field
// reads as 0 and every text as empty, so any byte string decodes to some op stream; done() tells
// the driver to stop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace ostrel::fuzz {

class OpReader {
 public:
  OpReader(const std::uint8_t* data, std::size_t size) noexcept : data_(data), size_(size) {}

  bool done() const noexcept { return at_ >= size_; }

  std::uint8_t u8() noexcept { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t u16() noexcept {
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | (static_cast<std::uint16_t>(u8()) << 8));
  }
  std::uint32_t u32() noexcept {
    const std::uint32_t low = u16();
    return low | (static_cast<std::uint32_t>(u16()) << 16);
  }
  std::uint64_t u64() noexcept {
    const std::uint64_t low = u32();
    return low | (static_cast<std::uint64_t>(u32()) << 32);
  }
  std::int32_t i32() noexcept { return static_cast<std::int32_t>(u32()); }
  std::int64_t i64() noexcept { return static_cast<std::int64_t>(u64()); }
  float f32() noexcept {
    const std::uint32_t bits = u32();
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  double f64() noexcept {
    const std::uint64_t bits = u64();
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  // Up to `length` bytes (fewer at the end), any values, NULs included.
  std::string bytes(std::size_t length) {
    const std::size_t n = length < size_ - at_ ? length : size_ - at_;
    std::string out(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return out;
  }
  void raw(unsigned char* to, std::size_t length) noexcept {
    for (std::size_t i = 0; i < length; ++i) to[i] = u8();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace ostrel::fuzz

// Deterministic pseudo-random numbers for the mock service.
//
// Every random quantity of the mock is a pure function of (seed, stream, index): nothing depends
// on the order in which requests arrive, so two runs with the same seed and clock answer the same
// bytes. The generators are written out here (splitmix64, Box-Muller) because the standard
// library's distributions differ between implementations.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace ostrel::mock {

inline std::uint64_t mix64(std::uint64_t x) noexcept {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

inline std::uint64_t hashKey(std::uint64_t a, std::uint64_t b, std::uint64_t c = 0,
                             std::uint64_t d = 0) noexcept {
  return mix64(mix64(mix64(mix64(a) ^ b) ^ c) ^ d);
}

inline std::uint64_t hashText(const std::string& text) noexcept {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Uniform in (0, 1), never exactly 0 or 1.
inline double uniformOf(std::uint64_t h) noexcept {
  return (static_cast<double>(h >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}

inline double normalOf(std::uint64_t h) noexcept {
  const double u1 = uniformOf(h);
  const double u2 = uniformOf(mix64(h ^ 0x5DEECE66Dull));
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

}  // namespace ostrel::mock

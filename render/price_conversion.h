// The futures conversion of a drawn or published price: price x multiplier + additive, in
// single precision with the product first (each step rounded to float).
#pragma once

namespace ostrel {

inline float convertPrice(float price, float multiplier, float additive) noexcept {
  const float product = price * multiplier;
  return product + additive;
}

}  // namespace ostrel

#include "study/premiums.h"

#include "host/host_calls.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

Premiums readPremiums(StudyHost& host) noexcept {
  Premiums out{};
  out.additive = readFloat(host::input(host, in::kAdditivePremium));
  StudyInput& multiplicative = host::input(host, in::kMultiplicativePremium);
  out.multiplicative = readFloat(multiplicative);
  if (!(out.multiplicative > 0.0f)) {
    multiplicative.setFloat(1.0f);
    out.multiplicative = 1.0f;
  }
  return out;
}

}  // namespace ostrel

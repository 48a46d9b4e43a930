#include "study/premiums.h"

#include <cmath>

#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

Premiums readPremiums(StudyHost& host) noexcept {
  Premiums out{0.0f, 1.0f};
  // The clamped input access would hand over the host's last slot (the ticker, say) in place of
  // a premium that the host does not have: read and repair only slots that exist.
  if (host.Inputs == nullptr) return out;
  if (host.InputCount > in::kAdditivePremium) {
    StudyInput& additive = host.Inputs[in::kAdditivePremium];
    out.additive = readFloat(additive);
    // Not finite, it would make every converted price so: back to its default, 0.
    if (!std::isfinite(out.additive)) {
      additive.setFloat(0.0f);
      out.additive = 0.0f;
    }
  }
  if (host.InputCount <= in::kMultiplicativePremium) return out;
  StudyInput& multiplicative = host.Inputs[in::kMultiplicativePremium];
  out.multiplicative = readFloat(multiplicative);
  if (!(out.multiplicative > 0.0f) || !std::isfinite(out.multiplicative)) {
    multiplicative.setFloat(1.0f);
    out.multiplicative = 1.0f;
  }
  return out;
}

}  // namespace ostrel

#include "render/profile_layout.h"

#include <algorithm>

#include "host/host_calls.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

ProfileLayout readProfileLayout(StudyHost& host) {
  ProfileLayout layout;
  layout.width = readInteger(host::input(host, in::kBarWidth));
  layout.halfHeight = static_cast<float>(layout.width) * host.PriceTick;
  layout.direction = readIndex(host::input(host, in::kProfileDirection));
  layout.originPercent = std::clamp(readInteger(host::input(host, in::kOriginPercent)), 0, 100);
  layout.dotStyle = readIndex(host::input(host, in::kPriorDotsStyle));
  layout.dotSize = readFloat(host::input(host, in::kPriorDotsSize));
  return layout;
}

float barSpanUnits(std::int32_t scalePercent) noexcept {
  const float p = static_cast<float>(std::clamp(scalePercent, 1, 100)) / 100.0f;
  const float whole = 150.0f * p;
  return whole - p;
}

}  // namespace ostrel

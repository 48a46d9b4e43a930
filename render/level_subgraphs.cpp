#include "render/level_subgraphs.h"

#include <cstdint>

#include "render/price_conversion.h"

namespace ostrel {

namespace {

constexpr std::uint32_t kRisingColour = 0x35FF03u;   // RGB(3, 255, 53)
constexpr std::uint32_t kFallingColour = 0x0000FFu;  // RGB(255, 0, 0)
constexpr std::size_t kMaxChangeEntries = 5;

Subgraph* subgraphAt(StudyHost& host, std::int32_t index) {
  if (host.Subgraphs == nullptr || index < 0 || index >= host.SubgraphCount) return nullptr;
  return &host.Subgraphs[index];
}

void writeValue(StudyHost& host, std::int32_t index, float value) {
  if (Subgraph* sg = subgraphAt(host, index)) sg->value(host.CurrentBarIndex) = value;
}

void writeLevel(StudyHost& host, std::int32_t index, float level, float additive,
                float multiplier) {
  if (level != 0.0f) writeValue(host, index, convertPrice(level, multiplier, additive));
}

}  // namespace

void publishGexLevels(StudyHost& host, const GexData& gex, float additive, float multiplier) {
  writeLevel(host, 0, gex.major_pos_vol, additive, multiplier);
  writeLevel(host, 1, gex.major_neg_vol, additive, multiplier);
  writeLevel(host, 2, gex.zero_gamma, additive, multiplier);
  writeLevel(host, 3, gex.major_pos_oi, additive, multiplier);
  writeLevel(host, 4, gex.major_neg_oi, additive, multiplier);
}

void publishGexNet(StudyHost& host, const GexData& gex) {
  writeValue(host, 7, gex.sum_gex_vol);
  writeValue(host, 8, gex.sum_gex_oi);
}

void publishMaxChanges(StudyHost& host, const GexData& gex, float additive, float multiplier) {
  if (gex.max_priors.size() < kMaxChangeEntries) return;
  for (std::size_t k = 0; k < kMaxChangeEntries; ++k) {
    const std::vector<float>& entry = gex.max_priors[k];
    const float strike = entry.empty() ? 0.0f : entry[0];
    const bool hasValue = entry.size() >= 2;
    const float value = hasValue ? entry[1] : 0.0f;
    const auto strikeIndex = static_cast<std::int32_t>(9 + 2 * k);
    writeValue(host, strikeIndex, convertPrice(strike, multiplier, additive));
    writeValue(host, strikeIndex + 1, value);
    if (Subgraph* sg = subgraphAt(host, strikeIndex)) {
      sg->colour(host.CurrentBarIndex) = hasValue && value > 0.0f ? kRisingColour : kFallingColour;
    }
  }
}

void publishGreekLevels(StudyHost& host, const GreekData& greek, float additive, float multiplier) {
  writeLevel(host, 0, greek.major_positive, additive, multiplier);
  writeLevel(host, 1, greek.major_negative, additive, multiplier);
  writeLevel(host, 5, greek.major_long_gamma, additive, multiplier);
  writeLevel(host, 6, greek.major_short_gamma, additive, multiplier);
}

}  // namespace ostrel

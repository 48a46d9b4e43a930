#include "render/draw_profile.h"

#include <limits>

#include "render/draw_bar.h"
#include "render/draw_priors.h"
#include "render/drawing_common.h"
#include "render/select_largest.h"

namespace ostrel {

namespace {

// The first prior of the strike at `position`, or -1 when its run is not fully held.
std::int64_t firstPrior(const ProfileView& view, std::int64_t position) {
  if (position < 0) return -1;
  const auto perStrike = static_cast<std::uint64_t>(view.priorsPerStrike);
  const std::uint64_t end = perStrike * (static_cast<std::uint64_t>(position) + 1);
  if (end > view.priors.size) return -1;
  const std::uint64_t first = end - perStrike;
  if (first > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return -1;
  return static_cast<std::int64_t>(first);
}

}  // namespace

void drawProfile(StudyHost& host, std::int32_t& drawingKey, const ProfileView& view,
                 const BarStyle& style, const PriorDots& dots, const ProfileLayout& layout,
                 LargestCounts counts, float additive, float multiplier, ProfileScratch& scratch) {
  selectLargest(view.strikePrices, view.values, counts, scratch.bars);
  if (scratch.bars.empty()) return;

  const std::int32_t perStrike = view.priorsPerStrike;
  const bool withPriors = !view.priors.empty() && perStrike > 0 && dots.count >= perStrike;
  if (withPriors) scratch.positions.build(view.strikePrices);
  const DrawingFlags flags = readDrawingFlags(host);

  for (const StrikeBar& bar : scratch.bars) {
    const float product = bar.strike * multiplier;
    const float shifted = product + view.verticalOffset;
    const float y = shifted + additive;
    drawBar(host, drawingKey, y, bar.value, style, layout, flags);
    if (!withPriors) continue;
    const std::int64_t first = firstPrior(view, scratch.positions.findAt(bar.index));
    if (first < 0) continue;
    drawPriors(host, drawingKey, y, view.priors, dots, layout, static_cast<std::int32_t>(first),
               perStrike, flags);
  }
}

}  // namespace ostrel

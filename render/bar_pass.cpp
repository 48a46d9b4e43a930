#include "render/bar_pass.h"

#include "host/host_calls.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

namespace {

struct PassInputs {
  std::int32_t offset;
  std::int32_t positiveColour;
  std::int32_t positiveStyle;
  std::int32_t negativeColour;
  std::int32_t negativeStyle;
  std::int32_t positiveFilter;
  std::int32_t negativeFilter;
  std::int32_t firstDotFlag;
  std::int32_t firstDotColour;
  std::int32_t dotCount;
  std::int32_t priorsPerStrike;
};

PassInputs inputsOf(BarPass pass) noexcept {
  switch (pass) {
    case BarPass::kGexVolume:
      return {in::kGexVolumeOffset,
              in::kCallGexVolumeColour,
              in::kCallGexVolumeStyle,
              in::kPutGexVolumeColour,
              in::kPutGexVolumeStyle,
              in::kFilterCallGexVolume,
              in::kFilterPutGexVolume,
              in::kShowGexDot1,
              in::kGexDotColour1,
              5,
              5};
    case BarPass::kGexOi:
      return {in::kGexOiOffset,
              in::kCallGexOiColour,
              in::kCallGexOiStyle,
              in::kPutGexOiColour,
              in::kPutGexOiStyle,
              in::kFilterCallGexOi,
              in::kFilterPutGexOi,
              in::kShowGexDot1,
              in::kGexDotColour1,
              5,
              0};
    case BarPass::kGamma:
      return {in::kGammaOffset,
              in::kLongGammaColour,
              in::kLongGammaStyle,
              in::kShortGammaColour,
              in::kShortGammaStyle,
              in::kFilterLongGamma,
              in::kFilterShortGamma,
              in::kShowGammaDot5,
              in::kGammaDotColour5,
              3,
              3};
    case BarPass::kDelta:
    default:
      return {in::kDeltaOffset,
              in::kPositiveDeltaColour,
              in::kPositiveDeltaStyle,
              in::kNegativeDeltaColour,
              in::kNegativeDeltaStyle,
              in::kFilterLongDelta,
              in::kFilterShortDelta,
              in::kShowDeltaDot5,
              in::kDeltaDotColour5,
              3,
              3};
  }
}

}  // namespace

void runBarPass(StudyHost& host, std::int32_t& drawingKey, BarPass pass, const BarPassData& data,
                ProfileLayout layout, float span, float additive, float multiplier,
                ProfileScratch& scratch) {
  const PassInputs ids = inputsOf(pass);
  setLayoutMaximum(layout, span, data.maximum);

  ProfileView view;
  view.strikePrices = data.strikePrices;
  view.values = data.values;
  view.priors = data.priors;
  view.verticalOffset =
      static_cast<float>(readInteger(host::input(host, ids.offset))) * host.PriceTick;
  view.priorsPerStrike = ids.priorsPerStrike;

  BarStyle style;
  style.positiveColour = readColour(host::input(host, ids.positiveColour));
  style.negativeColour = readColour(host::input(host, ids.negativeColour));
  style.positiveLineStyle = readIndex(host::input(host, ids.positiveStyle));
  style.negativeLineStyle = readIndex(host::input(host, ids.negativeStyle));
  style.transparency = readInteger(host::input(host, in::kBarTransparency));

  LargestCounts counts;
  counts.positive = readInteger(host::input(host, ids.positiveFilter));
  counts.negative = readInteger(host::input(host, ids.negativeFilter));

  PriorDots dots;
  dots.count = ids.dotCount;
  for (std::int32_t j = 0; j < ids.dotCount; ++j) {
    const auto at = static_cast<std::size_t>(j);
    dots.shown[at] = readBool(host::input(host, ids.firstDotFlag + j)) ? 1 : 0;
    dots.colours[at] = readColour(host::input(host, ids.firstDotColour + j));
  }

  drawProfile(host, drawingKey, view, style, dots, layout, counts, additive, multiplier, scratch);
}

}  // namespace ostrel

// Indices of the study's 110 inputs, in declaration order (see study/input_table.cpp).
#pragma once

#include <cstdint>

namespace ostrel::in {

enum : std::int32_t {
  kPackage = 0,
  kApiKey = 1,
  kTicker = 2,
  kAdditivePremium = 3,
  kMultiplicativePremium = 4,
  kGreek = 5,
  kGexDisplay = 6,
  kProfileDirection = 7,
  kOriginPercent = 8,
  kBarScale = 9,
  kLogScaling = 10,
  kBarTransparency = 11,
  kBarWidth = 12,
  kGexVolumeOffset = 13,
  kGexOiOffset = 14,
  kDeltaOffset = 15,
  kGammaOffset = 16,
  kCallGexVolumeColour = 17,
  kCallGexVolumeStyle = 18,
  kPutGexVolumeColour = 19,
  kPutGexVolumeStyle = 20,
  kCallGexOiColour = 21,
  kCallGexOiStyle = 22,
  kPutGexOiColour = 23,
  kPutGexOiStyle = 24,
  kPositiveDeltaColour = 25,
  kPositiveDeltaStyle = 26,
  kNegativeDeltaColour = 27,
  kNegativeDeltaStyle = 28,
  kLongGammaColour = 29,
  kLongGammaStyle = 30,
  kShortGammaColour = 31,
  kShortGammaStyle = 32,
  // Major lines: colour, width, style per line, in this order.
  kZeroGammaColour = 33,
  kMajorCallVolColour = 36,
  kMajorPutVolColour = 39,
  kMajorCallOiColour = 42,
  kMajorPutOiColour = 45,
  kMajorLongGammaColour = 48,
  kMajorShortGammaColour = 51,
  kShowMajorLabels = 54,
  kMajorLabelAlignment = 55,
  kMajorLabelFontSize = 56,
  kMajorLabelTransparentBg = 57,
  // Label texts: zero gamma, call vol, put vol, call OI, put OI, long gamma, short gamma.
  kZeroGammaLabel = 58,
  kMajorCallVolLabel = 59,
  kMajorPutVolLabel = 60,
  kMajorCallOiLabel = 61,
  kMajorPutOiLabel = 62,
  kMajorLongGammaLabel = 63,
  kMajorShortGammaLabel = 64,
  // Line visibility, same order as the labels.
  kShowZeroGamma = 65,
  kShowMajorCallVol = 66,
  kShowMajorPutVol = 67,
  kShowMajorCallOi = 68,
  kShowMajorPutOi = 69,
  kShowMajorLongGamma = 70,
  kShowMajorShortGamma = 71,
  // N-largest filters: positive then negative, per pass.
  kFilterCallGexVolume = 72,
  kFilterPutGexVolume = 73,
  kFilterCallGexOi = 74,
  kFilterPutGexOi = 75,
  kFilterLongDelta = 76,
  kFilterShortDelta = 77,
  kFilterLongGamma = 78,
  kFilterShortGamma = 79,
  // Prior-dot display flags.
  kShowGexDot1 = 80,    // 1, 5, 10, 15, 30 minutes: 80..84
  kShowDeltaDot5 = 85,  // 5, 15, 30 minutes: 85..87
  kShowGammaDot5 = 88,  // 5, 15, 30 minutes: 88..90
  // Prior-dot colours.
  kGexDotColour1 = 91,    // 91..95
  kDeltaDotColour5 = 96,  // 96..98
  kGammaDotColour5 = 99,  // 99..101
  kPriorDotsStyle = 102,
  kPriorDotsSize = 103,
  kTimeZone = 104,
  kRequestStartTime = 105,
  kRequestEndTime = 106,
  kRequestInterval = 107,
  kAllowCopy = 108,
  kFuturesTarget = 109,
  kInputCount = 110,
};

}  // namespace ostrel::in

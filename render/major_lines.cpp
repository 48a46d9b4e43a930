#include "render/major_lines.h"

#include "host/host_calls.h"
#include "render/draw_major_line.h"
#include "study/input_ids.h"
#include "study/input_readers.h"

namespace ostrel {

namespace {

// Colour input; width and style follow it.
struct LineInputIds {
  std::int32_t colour;
  std::int32_t label;
  std::int32_t show;
};

constexpr LineInputIds kCallVol{in::kMajorCallVolColour, in::kMajorCallVolLabel,
                                in::kShowMajorCallVol};
constexpr LineInputIds kPutVol{in::kMajorPutVolColour, in::kMajorPutVolLabel, in::kShowMajorPutVol};
constexpr LineInputIds kZeroGamma{in::kZeroGammaColour, in::kZeroGammaLabel, in::kShowZeroGamma};
constexpr LineInputIds kCallOi{in::kMajorCallOiColour, in::kMajorCallOiLabel, in::kShowMajorCallOi};
constexpr LineInputIds kPutOi{in::kMajorPutOiColour, in::kMajorPutOiLabel, in::kShowMajorPutOi};
constexpr LineInputIds kLongGamma{in::kMajorLongGammaColour, in::kMajorLongGammaLabel,
                                  in::kShowMajorLongGamma};
constexpr LineInputIds kShortGamma{in::kMajorShortGammaColour, in::kMajorShortGammaLabel,
                                   in::kShowMajorShortGamma};

MajorLabelSettings readLabelSettings(StudyHost& host) {
  MajorLabelSettings labels;
  labels.show = readBool(host::input(host, in::kShowMajorLabels));
  labels.alignment = readIndex(host::input(host, in::kMajorLabelAlignment));
  labels.fontSize = readInteger(host::input(host, in::kMajorLabelFontSize));
  labels.transparentBackground = readBool(host::input(host, in::kMajorLabelTransparentBg));
  return labels;
}

void drawLine(StudyHost& host, std::int32_t& drawingKey, float value, const LineInputIds& ids,
              const MajorLabelSettings& labels, float additive, float multiplier) {
  MajorLineInputs line;
  line.colour = readColour(host::input(host, ids.colour));
  line.width = readInteger(host::input(host, ids.colour + 1));
  line.style = readIndex(host::input(host, ids.colour + 2));
  line.label = readText(host::input(host, ids.label));
  line.visible = readBool(host::input(host, ids.show));
  drawMajorLine(host, drawingKey, value, line, labels, additive, multiplier);
}

}  // namespace

void drawGexLines(StudyHost& host, std::int32_t& drawingKey, const GexData& gex, float additive,
                  float multiplier) {
  const MajorLabelSettings labels = readLabelSettings(host);
  drawLine(host, drawingKey, gex.major_pos_vol, kCallVol, labels, additive, multiplier);
  drawLine(host, drawingKey, gex.major_neg_vol, kPutVol, labels, additive, multiplier);
  drawLine(host, drawingKey, gex.zero_gamma, kZeroGamma, labels, additive, multiplier);
  drawLine(host, drawingKey, gex.major_pos_oi, kCallOi, labels, additive, multiplier);
  drawLine(host, drawingKey, gex.major_neg_oi, kPutOi, labels, additive, multiplier);
}

void drawGammaLines(StudyHost& host, std::int32_t& drawingKey, const GreekData& greek,
                    float additive, float multiplier) {
  const MajorLabelSettings labels = readLabelSettings(host);
  drawLine(host, drawingKey, greek.major_long_gamma, kLongGamma, labels, additive, multiplier);
  drawLine(host, drawingKey, greek.major_short_gamma, kShortGamma, labels, additive, multiplier);
}

}  // namespace ostrel

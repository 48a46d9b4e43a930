#include "render/render_levels.h"

#include "host/host_calls.h"
#include "render/bar_pass.h"
#include "render/drawing_slots.h"
#include "render/level_subgraphs.h"
#include "render/major_lines.h"
#include "render/profile_layout.h"
#include "study/input_ids.h"
#include "study/input_readers.h"
#include "study/state_keys.h"

namespace ostrel {

namespace {

enum GexDisplay : std::int32_t { kDisplayVolume = 0, kDisplayOi = 1 };

void clearPreviousPass(StudyHost& host, std::int32_t& drawingKey) {
  removeSlotDrawings(host);
  host::removeStudyDrawings(host);
  host::setStoredInt(host, key::last_drawing_slot, 0);
  drawingKey = key::first_drawing_slot;
}

void renderGex(StudyHost& host, std::int32_t& drawingKey, const GexData& gex,
               const ProfileLayout& layout, float span, float additive, float multiplier) {
  publishGexLevels(host, gex, additive, multiplier);
  drawGexLines(host, drawingKey, gex, additive, multiplier);
  publishGexNet(host, gex);
  publishMaxChanges(host, gex, additive, multiplier);

  const std::int32_t display = readIndex(host::input(host, in::kGexDisplay));
  const bool volume = display != kDisplayOi;
  const bool oi = display != kDisplayVolume;
  const bool both = volume && oi;
  ProfileScratch scratch;
  if (volume) {
    const BarPassData data{gex.strike_prices, gex.gex_vol, gex.priors,
                           both ? gex.max_abs_all : gex.max_abs_vol};
    runBarPass(host, drawingKey, BarPass::kGexVolume, data, layout, span, additive, multiplier,
               scratch);
  }
  if (oi) {
    const BarPassData data{gex.strike_prices, gex.gex_oi, gex.priors,
                           both ? gex.max_abs_all : gex.max_abs_oi};
    runBarPass(host, drawingKey, BarPass::kGexOi, data, layout, span, additive, multiplier,
               scratch);
  }
}

void renderGreek(StudyHost& host, std::int32_t& drawingKey, const GreekData& greek, bool gamma,
                 const ProfileLayout& layout, float span, float additive, float multiplier) {
  publishGreekLevels(host, greek, additive, multiplier);
  if (gamma) drawGammaLines(host, drawingKey, greek, additive, multiplier);
  ProfileScratch scratch;
  const BarPassData data{greek.strike_prices, greek.value3, greek.priors, greek.max_abs_value};
  runBarPass(host, drawingKey, gamma ? BarPass::kGamma : BarPass::kDelta, data, layout, span,
             additive, multiplier, scratch);
}

}  // namespace

void renderLevels(StudyHost& host, std::int32_t& drawingKey, const GexData* gex,
                  const GreekData* greek, float additive, float multiplier) {
  clearPreviousPass(host, drawingKey);

  const ProfileLayout layout = readProfileLayout(host);
  const float span = barSpanUnits(readInteger(host::input(host, in::kBarScale)));
  const std::int32_t kind = readIndex(host::input(host, in::kGreek));
  if (kind >= 0 && kind <= 2) {
    if (gex == nullptr || gex->strike_prices.empty()) return;
    renderGex(host, drawingKey, *gex, layout, span, additive, multiplier);
  } else if (kind >= 3 && kind <= 6) {
    if (greek == nullptr || greek->strike_prices.empty()) return;
    renderGreek(host, drawingKey, *greek, /*gamma=*/kind <= 4, layout, span, additive, multiplier);
  }
}

}  // namespace ostrel

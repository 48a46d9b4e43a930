// Test support for the render tests: a simulated host with the render inputs at their
// defaults, and a way to run any piece of the render code as one host call.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "host/study_host.h"
#include "render/window_units.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"

namespace ostrel::test {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r + 256u * g + 65536u * b;
}

inline std::int64_t units(std::int32_t u) { return unitsToTime(u); }

// The defaults of every input the render pass reads.
inline void setRenderDefaults(sim::SimHost& sim) {
  auto list = [&](std::int32_t i, std::int32_t v) { sim.input(i).setCustomList(v); };
  auto integer = [&](std::int32_t i, std::int32_t v) { sim.input(i).setInteger(v); };
  auto yes = [&](std::int32_t i, bool v) { sim.input(i).setYesNo(v); };
  auto colour = [&](std::int32_t i, std::uint32_t v) { sim.input(i).setColour(v); };
  list(in::kGreek, 0);
  list(in::kGexDisplay, 2);
  list(in::kProfileDirection, 2);
  integer(in::kOriginPercent, 75);
  integer(in::kBarScale, 25);
  yes(in::kLogScaling, false);
  integer(in::kBarTransparency, 85);
  integer(in::kBarWidth, 2);
  for (std::int32_t i = in::kGexVolumeOffset; i <= in::kGammaOffset; ++i) integer(i, 0);
  const std::uint32_t barColours[] = {rgb(0, 255, 0),   rgb(255, 0, 0),   rgb(0, 255, 0),
                                      rgb(255, 0, 0),   rgb(76, 175, 80), rgb(208, 2, 27),
                                      rgb(0, 255, 255), rgb(199, 19, 240)};
  for (std::int32_t k = 0; k < 8; ++k) {
    colour(in::kCallGexVolumeColour + 2 * k, barColours[k]);
    list(in::kCallGexVolumeStyle + 2 * k, 3);
  }
  const std::uint32_t lineColours[] = {rgb(255, 165, 0), rgb(3, 255, 53), rgb(255, 0, 0),
                                       rgb(3, 255, 53),  rgb(255, 0, 0),  rgb(0, 255, 255),
                                       rgb(128, 0, 128)};
  for (std::int32_t k = 0; k < 7; ++k) {
    colour(in::kZeroGammaColour + 3 * k, lineColours[k]);
    integer(in::kZeroGammaColour + 3 * k + 1, 2);
    list(in::kZeroGammaColour + 3 * k + 2, 1);
  }
  yes(in::kShowMajorLabels, true);
  list(in::kMajorLabelAlignment, 1);
  integer(in::kMajorLabelFontSize, 10);
  yes(in::kMajorLabelTransparentBg, true);
  const char* labels[] = {"ZG", "MCV", "MPV", "MCO", "MPO", "MLG", "MSG"};
  for (std::int32_t k = 0; k < 7; ++k) {
    sim.input(in::kZeroGammaLabel + k).setText(labels[k]);
    yes(in::kShowZeroGamma + k, true);
  }
  for (std::int32_t i = in::kFilterCallGexVolume; i <= in::kFilterShortGamma; ++i) integer(i, 0);
  const bool shown[] = {false, true, false, true, false, true, true, false, true, true, false};
  for (std::int32_t k = 0; k < 11; ++k) yes(in::kShowGexDot1 + k, shown[k]);
  const std::uint32_t dotColours[] = {rgb(255, 255, 255), rgb(255, 255, 255), rgb(0, 162, 222),
                                      rgb(0, 108, 192),   rgb(0, 52, 148),    rgb(255, 255, 255),
                                      rgb(0, 108, 192),   rgb(0, 52, 148),    rgb(255, 255, 255),
                                      rgb(0, 108, 192),   rgb(0, 52, 148)};
  for (std::int32_t k = 0; k < 11; ++k) colour(in::kGexDotColour1 + k, dotColours[k]);
  list(in::kPriorDotsStyle, 1);
  sim.input(in::kPriorDotsSize).setFloat(1.0f);
  yes(in::kAllowCopy, false);
}

// A simulated chart (10 one-minute bars, tick 0.25, chart 1) with the render defaults.
class RenderTest : public ::testing::Test {
 protected:
  RenderTest() {
    sim_.setBars(0, 60 * sim::kMicrosPerSecond, 10);
    sim_.host().PriceTick = 0.25f;
    sim_.host().ChartId = 1;
    sim_.host().CurrentBarIndex = 9;
    setRenderDefaults(sim_);
  }

  // Runs `body` as one host call and answers what the study did in it.
  const sim::CallRecord& run(const std::function<void(StudyHost&)>& body,
                             const sim::CallScript& script = sim::CallScript()) {
    current() = &body;
    const sim::CallRecord& record = sim_.runCall(&trampoline, script);
    current() = nullptr;
    return record;
  }

  std::int32_t stored(std::int32_t key) {
    const auto& values = sim_.storedInts().values;
    const auto it = values.find(key);
    return it != values.end() ? it->second : 0;
  }

  StudyInput& input(std::int32_t index) { return sim_.input(index); }
  float subgraphValue(std::int32_t index) { return sim_.subgraph(index).value(9); }

  sim::SimHost sim_;

 private:
  static const std::function<void(StudyHost&)>*& current() {
    static const std::function<void(StudyHost&)>* body = nullptr;
    return body;
  }
  static void trampoline(StudyHost& host) {
    if (current() != nullptr) (*current())(host);
  }
};

}  // namespace ostrel::test

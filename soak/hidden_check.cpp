#include "soak/hidden_check.h"

#include <string>

#include "study/state_keys.h"

namespace ostrel::soak {

namespace {

void* storedPointer(const sim::SimHost& chart, std::int32_t k) {
  void* const* p = chart.pointerStore().find(k);
  return p != nullptr ? *p : nullptr;
}

}  // namespace

HeldRecords heldRecords(const sim::SimHost& chart) {
  return {storedPointer(chart, key::p_gex_data), storedPointer(chart, key::p_greek_data)};
}

void checkHiddenCall(const sim::SimHost& chart, const sim::CallRecord& call, HeldRecords before,
                     const CheckContext& ctx, ReportOnce& once) {
  std::string problem;
  const auto note = [&](std::string text) {
    if (!problem.empty()) problem += "; ";
    problem += text;
  };
  const std::size_t drawn = studyDrawingCount(chart);
  if (drawn != 0) note(std::to_string(drawn) + " drawings of the study on the chart");
  std::size_t slots = 0;
  chart.intStore().forEach([&](std::int32_t k, std::int32_t v) {
    if (k >= key::first_drawing_slot && k <= key::last_drawing_slot_key && v != 0) ++slots;
  });
  if (slots != 0) note(std::to_string(slots) + " drawing slots recorded");
  std::size_t started = 0;
  for (const sim::RequestRecord& r : call.requests) started += r.started ? 1 : 0;
  if (started != 0) note(std::to_string(started) + " requests started");
  if (!call.conversions.empty()) note("a futures conversion sent");
  const HeldRecords after = heldRecords(chart);
  if (after.gex != before.gex || after.greek != before.greek) {
    note("the profile records' stored pointers changed");
  }
  if (problem.empty()) {
    once.clear();
  } else {
    once.report(ctx, "hidden study: " + problem);
  }
}

}  // namespace ostrel::soak

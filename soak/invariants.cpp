#include "soak/invariants.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "study/input_ids.h"
#include "study/input_readers.h"
#include "study/state_keys.h"

namespace ostrel::soak {

namespace {

constexpr std::size_t kSweepRemovalBound = 10000;

bool isStudyIntKey(std::int32_t k) noexcept {
  return k == key::profile_state || k == key::history_state || k == key::last_drawing_slot ||
         k == key::requests_halted ||
         (k >= key::first_drawing_slot && k <= key::last_drawing_slot_key) ||
         k == key::conversion_0930_done || k == key::conversion_0932_done;
}

bool contains(const std::vector<std::int32_t>& sorted, std::int32_t n) {
  return std::binary_search(sorted.begin(), sorted.end(), n);
}

std::string more(int extra) {
  return extra > 0 ? " (and " + std::to_string(extra) + " more)" : std::string();
}

// FNV-1a over raw bytes.
struct Digest {
  std::uint64_t h = 1469598103934665603ull;
  void bytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  }
  template <typename T>
  void value(const T& v) {
    bytes(&v, sizeof v);
  }
  void text(const char* s) {
    if (s != nullptr) bytes(s, std::strlen(s));
    value('\0');
  }
};

}  // namespace

void ReportOnce::report(const CheckContext& ctx, std::string what) {
  if (what == last_) return;
  last_ = what;
  ctx.report(std::move(what));
}

void DrawingInvariant::afterCall(const sim::SimHost& chart, const sim::CallRecord& call,
                                 bool full_recalc, const CheckContext& ctx) {
  checkSlots(chart, ctx);
  notePass(call, full_recalc);
  checkChart(chart, ctx);
}

void DrawingInvariant::checkSlots(const sim::SimHost& chart, const CheckContext& ctx) {
  const sim::StoredValues<std::int32_t>& ints = chart.intStore();
  const std::int32_t* last = ints.find(key::last_drawing_slot);
  last_slot_ = last != nullptr ? *last : 0;
  recorded_.clear();
  std::string problem;
  int extra = 0;
  const auto note = [&](std::string text) {
    if (problem.empty()) {
      problem = std::move(text);
    } else {
      ++extra;
    }
  };
  if (last_slot_ < 0 || last_slot_ > key::last_drawing_slot_key) {
    note("last_drawing_slot is " + std::to_string(last_slot_) + ", outside 0..999");
  }
  for (std::int32_t k = key::first_drawing_slot; k <= key::last_drawing_slot_key; ++k) {
    const std::int32_t* slot = ints.find(k);
    if (slot == nullptr || *slot == 0) continue;
    const std::int32_t number = *slot;
    recorded_.push_back(number);
    if (k > last_slot_) {
      note("slot " + std::to_string(k) + " holds drawing " + std::to_string(number) +
           " above last_drawing_slot " + std::to_string(last_slot_) + ": no clean-up reaches it");
    }
    const sim::SimDrawing* d = chart.drawings().find(number);
    if (d == nullptr) {
      note("slot " + std::to_string(k) + " records drawing " + std::to_string(number) +
           ", which is not on the chart");
    } else if (!d->study_own) {
      note("slot " + std::to_string(k) + " records drawing " + std::to_string(number) +
           ", which is not the study's");
    }
  }
  if (!std::is_sorted(recorded_.begin(), recorded_.end())) {
    std::sort(recorded_.begin(), recorded_.end());
  }
  const auto dup = std::adjacent_find(recorded_.begin(), recorded_.end());
  if (dup != recorded_.end()) note("drawing " + std::to_string(*dup) + " is recorded in two slots");
  if (problem.empty()) {
    slot_report_.clear();
  } else {
    slot_report_.report(ctx, problem + more(extra));
  }
}

void DrawingInvariant::notePass(const sim::CallRecord& call, bool full_recalc) {
  if (call.removed_all > 0 || !call.placed.empty()) {
    unrecorded_.clear();
    // Only a pass that reached slot 999 leaves drawings unrecorded.
    if (last_slot_ != key::last_drawing_slot_key) return;
    for (const sim::PlacedRecord& p : call.placed) {
      if (p.number != 0 && !contains(recorded_, p.number)) unrecorded_.push_back(p.number);
    }
    std::sort(unrecorded_.begin(), unrecorded_.end());
  } else if (full_recalc && call.removed.size() < kSweepRemovalBound) {
    unrecorded_.clear();
  }
}

void DrawingInvariant::checkChart(const sim::SimHost& chart, const CheckContext& ctx) {
  std::string stray;
  std::string bad_value;
  int stray_extra = 0;
  int value_extra = 0;
  for (const auto& entry : chart.drawings()) {
    const sim::SimDrawing& d = entry.second;
    if (!d.study_own) continue;
    const std::int32_t n = entry.first;
    if (!contains(recorded_, n) && !contains(unrecorded_, n)) {
      if (stray.empty()) {
        stray = "drawing " + std::to_string(n) + " (type " + std::to_string(d.spec.DrawingType) +
                ") is on the chart, recorded in no slot and not placed by the last pass";
      } else {
        ++stray_extra;
      }
    }
    if (!std::isfinite(d.spec.BeginValue) || !std::isfinite(d.spec.EndValue)) {
      if (bad_value.empty()) {
        bad_value = "drawing " + std::to_string(n) + " has a price that is not finite";
      } else {
        ++value_extra;
      }
    }
  }
  if (user_drawing_ != 0 && chart.drawings().find(user_drawing_) == nullptr) {
    ctx.report("the user's drawing " + std::to_string(user_drawing_) + " was removed");
    user_drawing_ = 0;
  }
  if (stray.empty()) {
    chart_report_.clear();
  } else {
    chart_report_.report(ctx, stray + more(stray_extra));
  }
  if (bad_value.empty()) {
    value_report_.clear();
  } else {
    value_report_.report(ctx, bad_value + more(value_extra));
  }
}

void checkStoredKeys(const sim::SimHost& chart, const CheckContext& ctx, ReportOnce& once) {
  std::string problem;
  const auto outside = [&](const char* store, std::int32_t k) {
    if (problem.empty()) problem = std::string(store) + " key " + std::to_string(k);
  };
  chart.intStore().forEach([&](std::int32_t k, std::int32_t) {
    if (!isStudyIntKey(k)) outside("StoredInt", k);
  });
  chart.timeStore().forEach([&](std::int32_t k, DateTime) {
    if (k != key::last_profile_request && k != key::last_conversion_request &&
        k != key::last_history_request) {
      outside("StoredTime", k);
    }
  });
  chart.textStore().forEach([&](std::int32_t k, const HostString&) {
    if (k != key::conversion_ticker && k != key::conversion_target) outside("StoredText", k);
  });
  chart.pointerStore().forEach([&](std::int32_t k, void*) {
    if (k != key::p_gex_data && k != key::p_greek_data) outside("StoredPointer", k);
  });
  chart.floatStore().forEach([&](std::int32_t k, float) { outside("StoredFloat", k); });
  if (problem.empty()) {
    once.clear();
  } else {
    once.report(ctx, "stored value outside the study state's keys: " + problem);
  }
}

void checkPremiums(sim::SimHost& chart, const CheckContext& ctx, ReportOnce& once) {
  // As the study reads them, whatever type the inputs hold.
  const double mul = readFloat(chart.input(in::kMultiplicativePremium));
  const double add = readFloat(chart.input(in::kAdditivePremium));
  if (std::isfinite(mul) && mul > 0.0 && std::isfinite(add)) {
    once.clear();
    return;
  }
  once.report(ctx, "premiums not finite or multiplier not above 0: x" + std::to_string(mul) + " +" +
                       std::to_string(add));
}

void checkLogLines(const sim::CallRecord& call, const std::string& api_key,
                   const CheckContext& ctx) {
  if (api_key.empty()) return;
  for (const sim::LogEntry& e : call.log) {
    if (e.text.find(api_key) != std::string::npos) {
      ctx.report("the API key appears in the log line \"" + e.text.substr(0, 80) + "\"");
    }
  }
}

std::uint64_t chartFingerprint(sim::SimHost& chart) {
  Digest d;
  d.value(chart.drawings().size());
  d.value(chart.drawings().lastNumber());
  chart.intStore().forEach([&](std::int32_t k, std::int32_t v) {
    d.value(k);
    d.value(v);
  });
  chart.timeStore().forEach([&](std::int32_t k, DateTime v) {
    d.value(k);
    d.value(v);
  });
  chart.textStore().forEach([&](std::int32_t k, const HostString& v) {
    d.value(k);
    d.text(v.c_str());
  });
  chart.pointerStore().forEach([&](std::int32_t k, void* v) {
    d.value(k);
    d.value(v);
  });
  for (std::int32_t i = 0; i < sim::SimHost::kInputCount; ++i) {
    const StudyInput& in = chart.input(i);
    d.value(in.type);
    d.value(in.double_value);
    d.value(in.int_value);
    d.value(in.colour_value);
    d.text(in.has_text != 0 ? in.text.c_str() : nullptr);
  }
  return d.h;
}

std::size_t studyDrawingCount(const sim::SimHost& chart) {
  std::size_t n = 0;
  for (const auto& entry : chart.drawings()) n += entry.second.study_own ? 1 : 0;
  return n;
}

}  // namespace ostrel::soak

#include "fuzz/platform_entry_checks.h"

#include "study/input_ids.h"

namespace ostrel::fuzz {

EntryChecks::EntryChecks(const char* api_key, std::int32_t user_drawing) : api_key_(api_key) {
  drawings_.setUserDrawing(user_drawing);
  ctx_.violations = &violations_;
  ctx_.instance = &name_;
}

void EntryChecks::afterCall(sim::SimHost& chart, const sim::CallRecord& rec, const CallKind& kind,
                            soak::HeldRecords before, bool binding_holds_instance, long call) {
  ctx_.call = call;
  // The key is the study's only while the key input holds it as a text; otherwise the study
  // sends "Unset", and a text of the service that holds these bytes is no secret of its.
  const StudyInput& key = chart.input(in::kApiKey);
  const bool holds_key = key.type == InputType::kText && key.has_text != 0 && key.text == api_key_;
  soak::checkLogLines(rec, holds_key ? api_key_ : "", ctx_);
  drawings_.afterCall(chart, rec, kind.swept, ctx_);
  soak::checkStoredKeys(chart, ctx_, keys_);
  if (!kind.refused) soak::checkPremiums(chart, ctx_, premiums_);
  if (kind.hidden && !kind.defaults && !kind.last && !kind.refused) {
    soak::checkHiddenCall(chart, rec, before, ctx_, hidden_);
  } else {
    hidden_.clear();
  }
  if (kind.defaults && (!rec.placed.empty() || !rec.removed.empty() || rec.removed_all != 0 ||
                        !rec.requests.empty() || !rec.conversions.empty())) {
    ctx_.report("the defaults call drew, removed or sent something");
  }
  if (!kind.last) return;
  if (binding_holds_instance)
    ctx_.report("the binding still holds the instance after the last call");
  if (kind.refused) return;
  const std::size_t left = soak::studyDrawingCount(chart);
  if (left != 0) {
    ctx_.report(std::to_string(left) + " drawings of the study left after the last call");
  }
  const soak::HeldRecords kept = soak::heldRecords(chart);
  if (kept.gex != nullptr || kept.greek != nullptr) {
    ctx_.report("the last call left a profile record's stored pointer set");
  }
}

std::string EntryChecks::firstProblem() const {
  if (violations_.kept().empty()) return std::string();
  const soak::SoakViolation& v = violations_.kept().front();
  return "call " + std::to_string(v.call) + ": " + v.what;
}

}  // namespace ostrel::fuzz

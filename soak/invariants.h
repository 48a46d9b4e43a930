// The invariants the soak's host checks after every call of one study instance.
//
// Drawings (DrawingInvariant): what the study guarantees about its drawings between calls.
// - last_drawing_slot (StoredInt 6) lies in 0..999, and no slot above it holds a number (no
//   clean-up would ever reach such a slot: its drawing would be orphaned);
// - every number a slot 8..999 records names a drawing of the study on the chart, and no number
//   is recorded twice;
// - every drawing of the study on the chart is recorded in a slot, or was placed by the last
//   render pass after that pass had filled slot 999: such drawings are left unrecorded and go at
//   the next pass's RemoveStudyDrawings (or the next recalculation's sweep), so none may be
//   older than the last pass. Nothing is left behind by a recalculation either: its sweep
//   removes every bar and marker and its slot clean-up every line, so after it only the
//   drawings of a pass in the same call remain;
// - a drawing that is not the study's (the user's) is never removed;
// - every drawn price is finite.
// Stored values (checkStoredKeys): only the study state's keys are ever touched: ints 0, 1, 6,
// 7, 8..999, 1000, 1001; times 2, 3; texts 0, 1; pointers 0, 1; no float.
// Premiums (checkPremiums): both premium inputs, read as the study reads them (any type),
// finite, the multiplicative one above 0.
// Log (checkLogLines): the API key appears in no log line.
// Sharing (chartFingerprint): a digest of everything a chart holds, compared around the other
// chart's calls, so a study that wrote into another instance's chart would show.
//
// A problem that persists from call to call is reported once, when it first shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_host.h"
#include "soak/violations.h"

namespace ostrel::soak {

// Reports a text only when it differs from the one this slot reported on the previous check.
class ReportOnce {
 public:
  void report(const CheckContext& ctx, std::string what);
  // Marks a check that found nothing: the next problem is new again.
  void clear() noexcept { last_.clear(); }

 private:
  std::string last_;
};

class DrawingInvariant {
 public:
  // The user's drawing on the chart (0: none), which no call of the study may remove.
  void setUserDrawing(std::int32_t number) noexcept { user_drawing_ = number; }
  // `full_recalc`: the call was a full recalculation (its sweep removed every unrecorded bar
  // and marker, unless it stopped at its bound).
  void afterCall(const sim::SimHost& chart, const sim::CallRecord& call, bool full_recalc,
                 const CheckContext& ctx);

 private:
  void checkSlots(const sim::SimHost& chart, const CheckContext& ctx);
  void notePass(const sim::CallRecord& call, bool full_recalc);
  void checkChart(const sim::SimHost& chart, const CheckContext& ctx);

  std::int32_t last_slot_ = 0;
  std::vector<std::int32_t> recorded_;    // numbers the slots record, ascending
  std::vector<std::int32_t> unrecorded_;  // drawings of the last pass beyond slot 999, ascending
  std::int32_t user_drawing_ = 0;
  ReportOnce slot_report_;
  ReportOnce chart_report_;
  ReportOnce value_report_;
};

void checkStoredKeys(const sim::SimHost& chart, const CheckContext& ctx, ReportOnce& once);
void checkPremiums(sim::SimHost& chart, const CheckContext& ctx, ReportOnce& once);
void checkLogLines(const sim::CallRecord& call, const std::string& api_key,
                   const CheckContext& ctx);
std::uint64_t chartFingerprint(sim::SimHost& chart);
// Drawings of the study on the chart (the user's own not counted).
std::size_t studyDrawingCount(const sim::SimHost& chart);

}  // namespace ostrel::soak

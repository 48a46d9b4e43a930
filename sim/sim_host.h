// SimHost: an in-memory charting host that runs the study exactly as the platform would, for
// tests, ostrel-sim and the demo. It implements every StudyHost operation behind HostContext;
// two SimHost instances share nothing (no statics anywhere), so side-by-side instances model
// two charts.
//
// Typical use (tests):
//   ostrel::sim::SimHost sim;
//   sim.setBars(start, /*step=*/60 * kMicrosPerSecond, /*count=*/390);
//   sim.runDefaults(study);                      // IsDefaultsCall 1, then back to 0
//   sim.host().CurrentTime = t;                  // any StudyHost field, set directly
//   CallScript script;
//   script.response_ready = true; script.response_text = "{...}";
//   const CallRecord& rec = sim.runCall(study, script);   // what the study did in that call
//
// Host behaviour, edges included:
// - Inputs: 128 slots (InputCount 128). Subgraphs: 60, each with one value AND one colour per
//   bar; the arrays follow BarCount (setBars/setBarTimes resize them, keeping the values of the
//   bars that remain, new bars read 0).
// - Stored values: one store per kind (int, float, time, text, pointer; sim/stored_values.h),
//   entries created on first access with 0 / "" / null; entries never move, so a returned
//   reference stays valid for the whole call (and beyond). A key counts as "ever set" when
//   SetStoredInt/SetStoredPointer was called for it, or when it holds a non-zero value
//   (non-empty text) at the end of some call. A write of 0 through a returned reference to a
//   key that was never set cannot be told from a read and does not count.
// - Drawings: numbered 1, 2, 3, ... in placement order, never reused (sim/drawing_table.h).
//   PlaceDrawing with a DrawingNumber that names a drawing on the chart replaces that drawing's
//   record entirely (the host keeps what the study sent); any other number (-1, 0, unknown,
//   removed) creates a new drawing. Drawings placed by the study belong to it.
// - FindDrawing(type_filter, index): among the study's drawings whose type matches the filter
//   (0 = any), in ascending number order, the index-th; answers 1 and fills DrawingNumber and
//   DrawingType only, or answers 0 (spec untouched) when there is none.
// - RemoveDrawing removes one drawing (answers 1, or 0 for an unknown number);
//   RemoveStudyDrawings removes all of the study's drawings and answers how many. Drawings not
//   owned by the study (addDrawing(..., false)) are never found nor removed in bulk.
// - BarIndexAt(t): the last bar whose start is <= t; -1 before the first bar or with no bars;
//   bar times are expected non-decreasing.
// - HostTimeToZone / ZoneTimeToHost: host date-times are wall-clock times of the host zone
//   (setHostZone); a conversion goes host wall time -> UTC -> zone wall time and back. A null
//   or empty zone string means the host's own zone (time unchanged); a zone string the host
//   cannot read also leaves the time unchanged.
// - StartHttpRequest: recorded (url, body, headers); answers 1, or 0 when the call's script
//   says it fails. The answer itself is delivered by a later call's script (ResponseReady /
//   ResponseText), and only for that call.
// - DirectHttpsGet: recorded (path, header block, user agent); answered from the call's script,
//   or ok 0 with the error "no scripted answer".
// - EarliestChangedBar starts at -1 and keeps what the study writes across calls; it counts as
//   set once a call ends with a value different from the one it started with.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/study_host.h"
#include "sim/drawing_table.h"
#include "sim/input_watch.h"
#include "sim/stored_values.h"

namespace ostrel::sim {

class ZoneCache;

using StudyFunction = void (*)(StudyHost&);

constexpr std::int64_t kMicrosPerSecond = 1000000;

struct LogEntry {
  std::string text;
  std::int32_t flag = 0;
};

struct RequestRecord {
  std::string url;
  std::optional<std::string> body;  // nullopt: the study passed a null body
  std::vector<std::pair<std::string, std::string>> headers;
  bool started = false;
};

struct DirectRequestRecord {
  std::string server;
  std::int32_t port = 0;
  std::string path;
  std::string header_block;
  std::string user_agent;
};

// What a scripted direct HTTPS request answers.
struct DirectAnswer {
  bool ok = true;
  std::uint32_t status = 200;
  std::string body;
  std::string error;  // when !ok
};

struct PlacedRecord {
  std::int32_t number = 0;  // the number the host answered; 0: refused
  DrawingSpec spec;         // as the study handed it in (DrawingNumber: the number it asked for)
};

// Everything the study did in one call, in order of occurrence per list.
struct CallRecord {
  std::vector<LogEntry> log;
  std::vector<RequestRecord> requests;
  std::vector<DirectRequestRecord> conversions;
  std::vector<PlacedRecord> placed;
  std::vector<std::int32_t> removed;         // numbers passed to RemoveDrawing
  std::int32_t removed_all = 0;              // RemoveStudyDrawings calls
  std::vector<std::int32_t> changed_inputs;  // slots whose content differs after the call
};

// The script of one call: the answer channel and the faults to inject. Cleared after the call.
struct CallScript {
  bool response_ready = false;
  std::optional<std::string> response_text;  // nullopt with response_ready: ResponseText null
  std::optional<DirectAnswer> conversion;    // nullopt: "no scripted answer"
  bool start_request_fails = false;
  bool place_all_fail = false;
  std::vector<std::int32_t> place_fail_ordinals;  // 1-based PlaceDrawing calls that answer 0
  bool find_drawing_sticky = false;  // FindDrawing keeps answering its first find, even removed
};

class SimHost {
 public:
  static constexpr std::int32_t kInputCount = 128;
  static constexpr std::int32_t kSubgraphCount = 60;

  SimHost();
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // The record handed to the study; set its fields (call kind, times, ChartId...) directly.
  StudyHost& host() noexcept { return host_; }
  const StudyHost& host() const noexcept { return host_; }

  // Chart. Bars start at `start` + i * `step`. BarCount and BarTimes follow; subgraph arrays
  // are resized.
  void setBars(DateTime start, std::int64_t step, std::int32_t count);
  void setBarTimes(std::vector<DateTime> times);
  const std::vector<DateTime>& barTimes() const noexcept { return bar_times_; }
  // False (zone unchanged) when the text is not a zone the host can read. Default: New York.
  bool setHostZone(const std::string& zone);
  const std::string& hostZone() const noexcept { return host_zone_; }

  // Calls. runCall hands `script` to the host for the duration of the call, runs the study
  // and returns what it did (valid until the next call). ResponseReady/ResponseText are
  // cleared afterwards.
  const CallRecord& runCall(StudyFunction study, const CallScript& script = CallScript());
  const CallRecord& runDefaults(StudyFunction study);
  // A removal call whose record is dropped, made only while a stored pointer is set, so that
  // the study releases what it owns (as the platform does when a chart closes).
  void releaseStudy(StudyFunction study);
  const CallRecord& lastCall() const noexcept { return record_; }

  // Drawings on the chart, by number (read like a std::map, see sim/drawing_table.h).
  // addDrawing places one as the host would (for stale leftovers of an earlier run, or a user's
  // drawing with study_own false) and answers its number.
  const DrawingTable& drawings() const noexcept { return drawings_; }
  std::int32_t addDrawing(const DrawingSpec& spec, bool study_own = true);
  std::int32_t addStaleDrawing(std::int32_t drawing_type);

  // Stored values and their "ever set" marks, as ordered containers brought up to date by each
  // of these calls (for inspection; see sim/stored_values.h).
  const Store<std::int32_t>& storedInts() const { return ints_.view(); }
  const Store<float>& storedFloats() const { return floats_.view(); }
  const Store<DateTime>& storedTimes() const { return times_.view(); }
  const Store<HostString>& storedTexts() const { return texts_.view(); }
  const Store<void*>& storedPointers() const { return pointers_.view(); }
  // The stores themselves, for checks that run after every call (no copies).
  const StoredValues<std::int32_t>& intStore() const noexcept { return ints_; }
  const StoredValues<float>& floatStore() const noexcept { return floats_; }
  const StoredValues<DateTime>& timeStore() const noexcept { return times_; }
  const StoredValues<HostString>& textStore() const noexcept { return texts_; }
  const StoredValues<void*>& pointerStore() const noexcept { return pointers_; }

  StudyInput& input(std::int32_t index) { return inputs_.at(static_cast<std::size_t>(index)); }
  Subgraph& subgraph(std::int32_t index) { return subgraphs_.at(static_cast<std::size_t>(index)); }
  bool earliestChangedBarSet() const noexcept { return earliest_changed_set_; }

 private:
  friend struct OpsImpl;  // the StudyHost operations (sim_host_ops.cpp)

  void resizeSubgraphs();
  void clearRecord();
  void markStoredValues();

  StudyHost host_;
  std::vector<StudyInput> inputs_;
  std::vector<Subgraph> subgraphs_;
  std::vector<std::vector<float>> values_;
  std::vector<std::vector<std::uint32_t>> colours_;
  std::vector<DateTime> bar_times_;
  std::string host_zone_;

  StoredValues<std::int32_t> ints_;
  StoredValues<float> floats_;
  StoredValues<DateTime> times_;
  StoredValues<HostString> texts_;
  StoredValues<void*> pointers_;

  DrawingTable drawings_;

  CallRecord record_;
  InputWatch input_watch_;
  CallScript script_;
  std::int32_t place_ordinal_ = 0;
  std::int32_t sticky_number_ = 0;  // 0: nothing found yet in this call
  std::int32_t sticky_type_ = 0;
  bool earliest_changed_set_ = false;

  std::unique_ptr<ZoneCache> zones_;
};

}  // namespace ostrel::sim

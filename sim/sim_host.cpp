#include "sim/sim_host.h"

#include <utility>

#include "sim/allocation_faults.h"
#include "sim/sim_host_ops.h"
#include "sim/zone_cache.h"

namespace ostrel::sim {
namespace {

constexpr const char* kNewYorkZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";

}  // namespace

SimHost::SimHost()
    : inputs_(kInputCount),
      subgraphs_(kSubgraphCount),
      values_(kSubgraphCount),
      colours_(kSubgraphCount),
      zones_(std::make_unique<ZoneCache>()) {
  host_.Inputs = inputs_.data();
  host_.InputCount = kInputCount;
  host_.Subgraphs = subgraphs_.data();
  host_.SubgraphCount = kSubgraphCount;
  host_.ChartId = 1;
  host_.PriceTick = 0.25f;
  host_.HostBuild = kHostInterfaceVersion;
  host_.HostContext = this;
  installSimHostOps(host_.Ops);
  setHostZone(kNewYorkZone);
  resizeSubgraphs();
}

SimHost::~SimHost() = default;

void SimHost::setBars(DateTime start, std::int64_t step, std::int32_t count) {
  std::vector<DateTime> times(count > 0 ? static_cast<std::size_t>(count) : 0);
  for (std::size_t i = 0; i < times.size(); ++i) {
    times[i] = start + static_cast<std::int64_t>(i) * step;
  }
  setBarTimes(std::move(times));
}

void SimHost::setBarTimes(std::vector<DateTime> times) {
  bar_times_ = std::move(times);
  host_.BarTimes = bar_times_.empty() ? nullptr : bar_times_.data();
  host_.BarCount = static_cast<std::int32_t>(bar_times_.size());
  resizeSubgraphs();
}

void SimHost::resizeSubgraphs() {
  const std::size_t count = bar_times_.size();
  for (std::size_t i = 0; i < subgraphs_.size(); ++i) {
    values_[i].resize(count, 0.0f);
    colours_[i].resize(count, 0u);
    Subgraph& sg = subgraphs_[i];
    sg.values = count > 0 ? values_[i].data() : nullptr;
    sg.value_count = static_cast<std::int32_t>(count);
    sg.colours = count > 0 ? colours_[i].data() : nullptr;
    sg.colour_count = static_cast<std::int32_t>(count);
  }
}

bool SimHost::setHostZone(const std::string& zone) {
  if (!zones_->setHostZone(zone.c_str())) return false;
  host_zone_ = zone;
  return true;
}

// Empties the record but keeps its lists' storage: most calls record about as much as the last.
void SimHost::clearRecord() {
  record_.log.clear();
  record_.requests.clear();
  record_.conversions.clear();
  record_.placed.clear();
  record_.removed.clear();
  record_.removed_all = 0;
  record_.changed_inputs.clear();
}

const CallRecord& SimHost::runCall(StudyFunction study, const CallScript& script) {
  clearRecord();
  script_ = script;
  place_ordinal_ = 0;
  sticky_number_ = 0;
  sticky_type_ = 0;
  host_.ResponseReady = script_.response_ready ? 1 : 0;
  host_.ResponseText =
      script_.response_ready && script_.response_text ? script_.response_text->c_str() : nullptr;
  input_watch_.take(inputs_);
  const std::int32_t earliest_before = host_.EarliestChangedBar;

  if (study != nullptr) {
    const StudyCallScope study_side;
    study(host_);
  }

  host_.ResponseReady = 0;
  host_.ResponseText = nullptr;
  if (host_.EarliestChangedBar != earliest_before) earliest_changed_set_ = true;
  input_watch_.changed(inputs_, record_.changed_inputs);
  markStoredValues();
  script_ = CallScript();
  return record_;
}

const CallRecord& SimHost::runDefaults(StudyFunction study) {
  host_.IsDefaultsCall = 1;
  runCall(study);
  host_.IsDefaultsCall = 0;
  return record_;
}

void SimHost::releaseStudy(StudyFunction study) {
  if (!pointers_.any([](void* p) { return p != nullptr; })) return;
  CallRecord kept = std::move(record_);
  const std::int32_t removal = host_.IsRemovalCall;
  host_.IsRemovalCall = 1;
  runCall(study);
  host_.IsRemovalCall = removal;
  record_ = std::move(kept);
}

void SimHost::markStoredValues() {
  ints_.markEverSet([](std::int32_t v) { return v != 0; });
  floats_.markEverSet([](float v) { return v != 0.0f; });
  times_.markEverSet([](DateTime v) { return v != 0; });
  texts_.markEverSet([](const HostString& v) { return !v.empty(); });
  pointers_.markEverSet([](void* v) { return v != nullptr; });
}

std::int32_t SimHost::addDrawing(const DrawingSpec& spec, bool study_own) {
  const std::int32_t number = drawings_.lastNumber() + 1;
  SimDrawing& d = drawings_.add(number);
  d.spec = spec;
  d.spec.DrawingNumber = number;
  d.study_own = study_own;
  return number;
}

std::int32_t SimHost::addStaleDrawing(std::int32_t drawing_type) {
  DrawingSpec spec;
  spec.DrawingType = drawing_type;
  return addDrawing(spec, /*study_own=*/true);
}

}  // namespace ostrel::sim

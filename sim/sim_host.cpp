#include "sim/sim_host.h"

#include <cstring>
#include <functional>
#include <iterator>
#include <utility>

#include "sim/sim_host_ops.h"
#include "sim/zone_rule.h"

namespace ostrel::sim {
namespace {

constexpr const char* kNewYorkZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
// Distinct zone strings kept parsed; the study only ever uses a handful.
constexpr std::size_t kZoneCacheLimit = 64;

bool sameSlot(const StudyInput& a, const StudyInput& b) {
  return a.type == b.type && std::memcmp(&a.double_value, &b.double_value, sizeof(double)) == 0 &&
         a.int_value == b.int_value && a.colour_value == b.colour_value &&
         a.has_text == b.has_text && std::strcmp(a.text.c_str(), b.text.c_str()) == 0 &&
         std::strcmp(a.options.c_str(), b.options.c_str()) == 0 &&
         std::strcmp(a.name.c_str(), b.name.c_str()) == 0 &&
         a.display_position == b.display_position;
}

// Marks every key of `store` whose value counts as set. The keys come in ascending order, so a
// hint that moves along with them keeps each insertion near constant time: this runs after
// every call, over every drawing slot.
template <typename T, typename IsSet>
void markEverSet(Store<T>& store, IsSet is_set) {
  auto hint = store.ever_set.begin();
  for (const auto& e : store.values) {
    if (is_set(e.second)) hint = std::next(store.ever_set.insert(hint, e.first));
  }
}

}  // namespace

struct SimHost::ZoneCache {
  ZoneRule host;
  // std::less<>: looked up by the study's const char* without building a std::string per call.
  std::map<std::string, std::optional<ZoneRule>, std::less<>> rules;

  const ZoneRule* find(const char* zone) {
    auto it = rules.find(zone);
    if (it == rules.end()) {
      if (rules.size() >= kZoneCacheLimit) rules.clear();
      ZoneRule rule;
      std::optional<ZoneRule> parsed;
      if (parseZoneRule(zone, rule)) parsed = rule;
      it = rules.emplace(zone, parsed).first;
    }
    return it->second ? &*it->second : nullptr;
  }
};

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
  ZoneRule rule;
  if (!parseZoneRule(zone.c_str(), rule)) return false;
  zones_->host = rule;
  host_zone_ = zone;
  return true;
}

bool SimHost::convertZone(DateTime& t, const char* zone, bool to_zone) {
  if (zone == nullptr || zone[0] == '\0') return true;
  const ZoneRule* rule = zones_->find(zone);
  if (rule == nullptr) return false;
  if (to_zone) {
    t = utcToLocal(*rule, localToUtc(zones_->host, t));
  } else {
    t = utcToLocal(zones_->host, localToUtc(*rule, t));
  }
  return true;
}

const CallRecord& SimHost::runCall(StudyFunction study, const CallScript& script) {
  record_ = CallRecord();
  script_ = script;
  place_ordinal_ = 0;
  sticky_number_ = 0;
  sticky_type_ = 0;
  host_.ResponseReady = script_.response_ready ? 1 : 0;
  host_.ResponseText =
      script_.response_ready && script_.response_text ? script_.response_text->c_str() : nullptr;
  const std::vector<StudyInput> before = inputs_;
  const std::int32_t earliest_before = host_.EarliestChangedBar;

  if (study != nullptr) study(host_);

  host_.ResponseReady = 0;
  host_.ResponseText = nullptr;
  if (host_.EarliestChangedBar != earliest_before) earliest_changed_set_ = true;
  for (std::size_t i = 0; i < inputs_.size(); ++i) {
    if (!sameSlot(before[i], inputs_[i])) {
      record_.changed_inputs.push_back(static_cast<std::int32_t>(i));
    }
  }
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
  bool any = false;
  for (const auto& entry : pointers_.values) any = any || entry.second != nullptr;
  if (!any) return;
  CallRecord kept = std::move(record_);
  const std::int32_t removal = host_.IsRemovalCall;
  host_.IsRemovalCall = 1;
  runCall(study);
  host_.IsRemovalCall = removal;
  record_ = std::move(kept);
}

void SimHost::markStoredValues() {
  markEverSet(ints_, [](std::int32_t v) { return v != 0; });
  markEverSet(floats_, [](float v) { return v != 0.0f; });
  markEverSet(times_, [](DateTime v) { return v != 0; });
  markEverSet(texts_, [](const HostString& v) { return !v.empty(); });
  markEverSet(pointers_, [](void* v) { return v != nullptr; });
}

std::int32_t SimHost::addDrawing(const DrawingSpec& spec, bool study_own) {
  const std::int32_t number = next_drawing_++;
  SimDrawing& d = drawings_[number];
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

#include "bench/pass_replay.h"

#include <benchmark/benchmark.h>

#include <unordered_map>
#include <utility>

namespace ostrel::bench {

namespace {

using Kind = HostOpCall::Kind;

// Placement index of each nonzero number that `calls` placed (the last placement wins).
std::unordered_map<std::int32_t, std::int32_t> placementsOf(const std::vector<HostOpCall>& calls) {
  std::unordered_map<std::int32_t, std::int32_t> at;
  std::int32_t index = 0;
  for (const HostOpCall& c : calls) {
    if (c.kind != Kind::kPlaceDrawing) continue;
    if (c.result != 0) at[c.result] = index;
    ++index;
  }
  return at;
}

}  // namespace

PassReplay::PassReplay(const std::vector<HostOpCall>& earlier,
                       const std::vector<HostOpCall>& pass) {
  const std::unordered_map<std::int32_t, std::int32_t> before = placementsOf(earlier);
  std::unordered_map<std::int32_t, std::int32_t> now;
  // A drawing number as the replay should produce it: a placement of this round first.
  const auto refer = [&](std::int32_t number, Ref& ref, std::int32_t& value) {
    ref = Ref::kRaw;
    value = number;
    if (number <= 0) return;
    if (const auto it = now.find(number); it != now.end()) {
      ref = Ref::kCurrent;
      value = it->second;
    } else if (const auto was = before.find(number); was != before.end()) {
      ref = Ref::kPrevious;
      value = was->second;
    }
  };

  steps_.reserve(pass.size());
  for (const HostOpCall& c : pass) {
    Step step{c.kind, Ref::kRaw, c.key, c.value, 0};
    switch (c.kind) {
      case Kind::kStoredInt: ++stored_; break;
      case Kind::kSetStoredInt:
        ++stored_;
        refer(c.value, step.ref, step.value);
        break;
      case Kind::kPlaceDrawing: {
        refer(c.spec.DrawingNumber, step.ref, step.value);
        step.extra = static_cast<std::int32_t>(specs_.size());
        specs_.push_back(c.spec);
        current_.push_back(c.result);
        if (c.result != 0) now[c.result] = step.extra;
        break;
      }
      case Kind::kRemoveDrawing: refer(c.value, step.ref, step.value); break;
      case Kind::kRemoveStudyDrawings: step.extra = static_cast<std::int32_t>(c.time); break;
      default: replayable_ = false; break;
    }
    steps_.push_back(step);
  }
  previous_ = current_;  // the host now holds what the recorded pass placed
}

std::int32_t PassReplay::resolve(Ref ref, std::int32_t value) const noexcept {
  switch (ref) {
    case Ref::kPrevious: return previous_[static_cast<std::size_t>(value)];
    case Ref::kCurrent: return current_[static_cast<std::size_t>(value)];
    case Ref::kRaw:
    default: return value;
  }
}

void PassReplay::run(StudyHost& host) {
  const StudyHostOperations& ops = host.Ops;
  for (const Step& s : steps_) {
    switch (s.kind) {
      case Kind::kStoredInt: benchmark::DoNotOptimize(ops.StoredInt(&host, s.key)); break;
      case Kind::kSetStoredInt: ops.SetStoredInt(&host, s.key, resolve(s.ref, s.value)); break;
      case Kind::kPlaceDrawing: {
        const auto at = static_cast<std::size_t>(s.extra);
        DrawingSpec& spec = specs_[at];
        spec.DrawingNumber = resolve(s.ref, s.value);
        ops.PlaceDrawing(&host, &spec);
        current_[at] = spec.DrawingNumber;
        break;
      }
      case Kind::kRemoveDrawing:
        benchmark::DoNotOptimize(ops.RemoveDrawing(&host, s.key, resolve(s.ref, s.value)));
        break;
      case Kind::kRemoveStudyDrawings:
        benchmark::DoNotOptimize(ops.RemoveStudyDrawings(&host, s.key, s.value, s.extra));
        break;
      default: break;
    }
  }
  std::swap(previous_, current_);
}

}  // namespace ostrel::bench

#include "sim/sim_host_ops.h"

#include <algorithm>
#include <limits>

#include "sim/allocation_faults.h"
#include "sim/sim_host.h"
#include "sim/zone_cache.h"

namespace ostrel::sim {
namespace {

std::string text(const char* s) { return s != nullptr ? std::string(s) : std::string(); }

}  // namespace

// The operations live in this struct so they can reach SimHost's private state; each one is a
// plain function whose address goes into StudyHostOperations.
struct OpsImpl {
  static SimHost& self(StudyHost* host) { return *static_cast<SimHost*>(host->HostContext); }

  static void logMessage(StudyHost* host, const char* message, std::int32_t flag) {
    const HostCallScope host_side;
    self(host).record_.log.push_back(LogEntry{text(message), flag});
  }

  static std::int32_t placeDrawing(StudyHost* host, DrawingSpec* spec) {
    const HostCallScope host_side;
    if (spec == nullptr) return 0;
    SimHost& s = self(host);
    const std::int32_t ordinal = ++s.place_ordinal_;
    PlacedRecord rec;
    rec.spec = *spec;
    const auto& fails = s.script_.place_fail_ordinals;
    SimDrawing* existing = s.drawings_.find(spec->DrawingNumber);
    const bool adjust = existing != nullptr && existing->study_own;
    const bool exhausted =
        !adjust && s.drawings_.lastNumber() >= std::numeric_limits<std::int32_t>::max() - 1;
    if (s.script_.place_all_fail || exhausted ||
        std::find(fails.begin(), fails.end(), ordinal) != fails.end()) {
      spec->DrawingNumber = 0;
      s.record_.placed.push_back(std::move(rec));
      return 0;
    }
    std::int32_t number = 0;
    if (adjust) {
      number = spec->DrawingNumber;
      existing->spec = *spec;
    } else {
      number = s.addDrawing(*spec, /*study_own=*/true);
    }
    spec->DrawingNumber = number;
    rec.number = number;
    s.record_.placed.push_back(std::move(rec));
    return 1;
  }

  static std::int32_t findDrawing(StudyHost* host, std::int32_t /*chart*/, std::int32_t type_filter,
                                  DrawingSpec* spec, std::int32_t index) {
    const HostCallScope host_side;
    if (spec == nullptr || index < 0) return 0;
    SimHost& s = self(host);
    if (s.script_.find_drawing_sticky && s.sticky_number_ != 0) {
      spec->DrawingNumber = s.sticky_number_;
      spec->DrawingType = s.sticky_type_;
      return 1;
    }
    const auto* found = s.drawings_.nth(index, [type_filter](const SimDrawing& d) {
      return d.study_own && (type_filter == 0 || d.spec.DrawingType == type_filter);
    });
    if (found == nullptr) return 0;
    spec->DrawingNumber = found->first;
    spec->DrawingType = found->second.spec.DrawingType;
    if (s.script_.find_drawing_sticky) {
      s.sticky_number_ = found->first;
      s.sticky_type_ = found->second.spec.DrawingType;
    }
    return 1;
  }

  static std::int32_t removeDrawing(StudyHost* host, std::int32_t /*chart*/, std::int32_t number) {
    const HostCallScope host_side;
    SimHost& s = self(host);
    s.record_.removed.push_back(number);
    return s.drawings_.remove(number) ? 1 : 0;
  }

  static std::int32_t removeStudyDrawings(StudyHost* host, std::int32_t /*chart*/,
                                          std::int32_t /*line*/, std::int32_t /*flags*/) {
    const HostCallScope host_side;
    SimHost& s = self(host);
    ++s.record_.removed_all;
    return s.drawings_.removeIf([](const SimDrawing& d) { return d.study_own; });
  }

  static std::int32_t* storedInt(StudyHost* host, std::int32_t key) {
    const HostCallScope host_side;
    return &self(host).ints_.at(key);
  }
  static void setStoredInt(StudyHost* host, std::int32_t key, std::int32_t value) {
    const HostCallScope host_side;
    self(host).ints_.set(key, value);
  }
  static float* storedFloat(StudyHost* host, std::int32_t key) {
    const HostCallScope host_side;
    return &self(host).floats_.at(key);
  }
  static DateTime* storedTime(StudyHost* host, std::int32_t key) {
    const HostCallScope host_side;
    return &self(host).times_.at(key);
  }
  static HostString* storedText(StudyHost* host, std::int32_t key) {
    const HostCallScope host_side;
    return &self(host).texts_.at(key);
  }
  static void* storedPointer(StudyHost* host, std::int32_t key) {
    const HostCallScope host_side;
    void* const* slot = self(host).pointers_.find(key);
    return slot != nullptr ? *slot : nullptr;
  }
  static void setStoredPointer(StudyHost* host, std::int32_t key, void* pointer) {
    const HostCallScope host_side;
    self(host).pointers_.set(key, pointer);
  }

  static DateTime hostTimeToZone(StudyHost* host, DateTime t, const char* zone) {
    const HostCallScope host_side;
    self(host).zones_->convert(t, zone, /*to_zone=*/true);
    return t;
  }
  static DateTime zoneTimeToHost(StudyHost* host, DateTime t, const char* zone) {
    const HostCallScope host_side;
    self(host).zones_->convert(t, zone, /*to_zone=*/false);
    return t;
  }

  static std::int32_t barIndexAt(StudyHost* host, std::int32_t /*chart*/, DateTime t) {
    const HostCallScope host_side;
    const auto& times = self(host).bar_times_;
    auto after = std::upper_bound(times.begin(), times.end(), t);
    return static_cast<std::int32_t>(after - times.begin()) - 1;
  }

  static std::int32_t startHttpRequest(StudyHost* host, const char* url, const char* body,
                                       const HttpHeaderField* headers, std::int32_t count) {
    const HostCallScope host_side;
    SimHost& s = self(host);
    RequestRecord rec;
    rec.url = text(url);
    if (body != nullptr) rec.body = std::string(body);
    if (headers != nullptr) {
      for (std::int32_t i = 0; i < count; ++i) {
        rec.headers.emplace_back(headers[i].Name.c_str(), headers[i].Value.c_str());
      }
    }
    rec.started = !s.script_.start_request_fails;
    s.record_.requests.push_back(std::move(rec));
    return s.script_.start_request_fails ? 0 : 1;
  }

  static std::int32_t directHttpsGet(StudyHost* host, const DirectHttpsRequest* request,
                                     DirectHttpsResult* result) {
    const HostCallScope host_side;
    SimHost& s = self(host);
    DirectRequestRecord rec;
    if (request != nullptr) {
      rec.server = text(request->server);
      rec.port = request->port;
      rec.path = text(request->path);
      rec.header_block = text(request->header_block);
      rec.user_agent = text(request->user_agent);
    }
    s.record_.conversions.push_back(std::move(rec));
    if (result == nullptr) return 0;
    result->body.clear();
    result->error.clear();
    if (!s.script_.conversion) {
      result->ok = 0;
      result->status = 0;
      result->error.assign("no scripted answer");
      return 0;
    }
    const DirectAnswer& answer = *s.script_.conversion;
    result->ok = answer.ok ? 1 : 0;
    result->status = answer.ok ? answer.status : 0;
    if (answer.ok) {
      result->body.assign(answer.body.c_str());
    } else {
      result->error.assign(answer.error.c_str());
    }
    return result->ok;
  }
};

void installSimHostOps(StudyHostOperations& ops) noexcept {
  ops.LogMessage = &OpsImpl::logMessage;
  ops.PlaceDrawing = &OpsImpl::placeDrawing;
  ops.FindDrawing = &OpsImpl::findDrawing;
  ops.RemoveDrawing = &OpsImpl::removeDrawing;
  ops.RemoveStudyDrawings = &OpsImpl::removeStudyDrawings;
  ops.StoredInt = &OpsImpl::storedInt;
  ops.SetStoredInt = &OpsImpl::setStoredInt;
  ops.StoredFloat = &OpsImpl::storedFloat;
  ops.StoredTime = &OpsImpl::storedTime;
  ops.StoredText = &OpsImpl::storedText;
  ops.StoredPointer = &OpsImpl::storedPointer;
  ops.SetStoredPointer = &OpsImpl::setStoredPointer;
  ops.HostTimeToZone = &OpsImpl::hostTimeToZone;
  ops.ZoneTimeToHost = &OpsImpl::zoneTimeToHost;
  ops.BarIndexAt = &OpsImpl::barIndexAt;
  ops.StartHttpRequest = &OpsImpl::startHttpRequest;
  ops.DirectHttpsGet = &OpsImpl::directHttpsGet;
}

}  // namespace ostrel::sim

#include "bench/host_op_replay.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace ostrel::bench {
namespace {

// The recorder is installed for one call at a time on one thread.
std::vector<HostOpCall>* g_calls = nullptr;
StudyHostOperations g_original{};

void note(HostOpCall call) { g_calls->push_back(std::move(call)); }

HostOpCall make(HostOpCall::Kind kind, std::int32_t key = 0) {
  HostOpCall c;
  c.kind = kind;
  c.key = key;
  return c;
}

void logMessage(StudyHost* h, const char* text, std::int32_t flag) {
  note(make(HostOpCall::Kind::kOther));
  g_original.LogMessage(h, text, flag);
}
std::int32_t placeDrawing(StudyHost* h, DrawingSpec* spec) {
  if (spec == nullptr) {
    note(make(HostOpCall::Kind::kOther));
    return g_original.PlaceDrawing(h, spec);
  }
  HostOpCall c = make(HostOpCall::Kind::kPlaceDrawing);
  c.spec = *spec;
  const std::int32_t answer = g_original.PlaceDrawing(h, spec);
  c.result = spec->DrawingNumber;
  note(std::move(c));
  return answer;
}
std::int32_t findDrawing(StudyHost* h, std::int32_t chart, std::int32_t filter, DrawingSpec* spec,
                         std::int32_t index) {
  note(make(HostOpCall::Kind::kOther));
  return g_original.FindDrawing(h, chart, filter, spec, index);
}
std::int32_t removeDrawing(StudyHost* h, std::int32_t chart, std::int32_t number) {
  HostOpCall c = make(HostOpCall::Kind::kRemoveDrawing, chart);
  c.value = number;
  note(std::move(c));
  return g_original.RemoveDrawing(h, chart, number);
}
std::int32_t removeStudyDrawings(StudyHost* h, std::int32_t chart, std::int32_t line,
                                 std::int32_t flags) {
  HostOpCall c = make(HostOpCall::Kind::kRemoveStudyDrawings, chart);
  c.value = line;
  c.time = flags;
  note(std::move(c));
  return g_original.RemoveStudyDrawings(h, chart, line, flags);
}
std::int32_t* storedInt(StudyHost* h, std::int32_t key) {
  note(make(HostOpCall::Kind::kStoredInt, key));
  return g_original.StoredInt(h, key);
}
void setStoredInt(StudyHost* h, std::int32_t key, std::int32_t value) {
  HostOpCall c = make(HostOpCall::Kind::kSetStoredInt, key);
  c.value = value;
  note(c);
  g_original.SetStoredInt(h, key, value);
}
float* storedFloat(StudyHost* h, std::int32_t key) {
  note(make(HostOpCall::Kind::kStoredFloat, key));
  return g_original.StoredFloat(h, key);
}
DateTime* storedTime(StudyHost* h, std::int32_t key) {
  note(make(HostOpCall::Kind::kStoredTime, key));
  return g_original.StoredTime(h, key);
}
HostString* storedText(StudyHost* h, std::int32_t key) {
  note(make(HostOpCall::Kind::kStoredText, key));
  return g_original.StoredText(h, key);
}
void* storedPointer(StudyHost* h, std::int32_t key) {
  note(make(HostOpCall::Kind::kStoredPointer, key));
  return g_original.StoredPointer(h, key);
}
void setStoredPointer(StudyHost* h, std::int32_t key, void* pointer) {
  HostOpCall c = make(HostOpCall::Kind::kSetStoredPointer, key);
  c.pointer = pointer;
  note(c);
  g_original.SetStoredPointer(h, key, pointer);
}
DateTime hostTimeToZone(StudyHost* h, DateTime t, const char* zone) {
  HostOpCall c = make(HostOpCall::Kind::kHostTimeToZone);
  c.time = t;
  c.zone = zone != nullptr ? zone : "";
  note(c);
  return g_original.HostTimeToZone(h, t, zone);
}
DateTime zoneTimeToHost(StudyHost* h, DateTime t, const char* zone) {
  HostOpCall c = make(HostOpCall::Kind::kZoneTimeToHost);
  c.time = t;
  c.zone = zone != nullptr ? zone : "";
  note(c);
  return g_original.ZoneTimeToHost(h, t, zone);
}
std::int32_t barIndexAt(StudyHost* h, std::int32_t chart, DateTime t) {
  HostOpCall c = make(HostOpCall::Kind::kBarIndexAt, chart);
  c.time = t;
  note(c);
  return g_original.BarIndexAt(h, chart, t);
}
std::int32_t startHttpRequest(StudyHost* h, const char* url, const char* body,
                              const HttpHeaderField* headers, std::int32_t count) {
  note(make(HostOpCall::Kind::kOther));
  return g_original.StartHttpRequest(h, url, body, headers, count);
}
std::int32_t directHttpsGet(StudyHost* h, const DirectHttpsRequest* request,
                            DirectHttpsResult* result) {
  note(make(HostOpCall::Kind::kOther));
  return g_original.DirectHttpsGet(h, request, result);
}

using PlainFunction = void (*)(StudyHost&);

void runPlain(StudyHost& host, void* function) { (*static_cast<PlainFunction*>(function))(host); }

}  // namespace

std::vector<HostOpCall> recordHostOps(StudyHost& host, void (*function)(StudyHost&)) {
  PlainFunction plain = function;
  return recordHostOps(host, &runPlain, &plain);
}

std::vector<HostOpCall> recordHostOps(StudyHost& host, void (*function)(StudyHost&, void*),
                                      void* context) {
  std::vector<HostOpCall> calls;
  g_calls = &calls;
  g_original = host.Ops;
  StudyHostOperations& ops = host.Ops;
  ops.LogMessage = &logMessage;
  ops.PlaceDrawing = &placeDrawing;
  ops.FindDrawing = &findDrawing;
  ops.RemoveDrawing = &removeDrawing;
  ops.RemoveStudyDrawings = &removeStudyDrawings;
  ops.StoredInt = &storedInt;
  ops.SetStoredInt = &setStoredInt;
  ops.StoredFloat = &storedFloat;
  ops.StoredTime = &storedTime;
  ops.StoredText = &storedText;
  ops.StoredPointer = &storedPointer;
  ops.SetStoredPointer = &setStoredPointer;
  ops.HostTimeToZone = &hostTimeToZone;
  ops.ZoneTimeToHost = &zoneTimeToHost;
  ops.BarIndexAt = &barIndexAt;
  ops.StartHttpRequest = &startHttpRequest;
  ops.DirectHttpsGet = &directHttpsGet;
  function(host, context);
  host.Ops = g_original;
  g_calls = nullptr;
  return calls;
}

bool replayable(const std::vector<HostOpCall>& calls) {
  for (const HostOpCall& c : calls) {
    if (c.kind == HostOpCall::Kind::kOther) return false;
  }
  return true;
}

void replayHostOps(StudyHost& host, const std::vector<HostOpCall>& calls) {
  const StudyHostOperations& ops = host.Ops;
  for (const HostOpCall& c : calls) {
    switch (c.kind) {
      case HostOpCall::Kind::kStoredInt:
        benchmark::DoNotOptimize(ops.StoredInt(&host, c.key));
        break;
      case HostOpCall::Kind::kSetStoredInt: ops.SetStoredInt(&host, c.key, c.value); break;
      case HostOpCall::Kind::kStoredFloat:
        benchmark::DoNotOptimize(ops.StoredFloat(&host, c.key));
        break;
      case HostOpCall::Kind::kStoredTime:
        benchmark::DoNotOptimize(ops.StoredTime(&host, c.key));
        break;
      case HostOpCall::Kind::kStoredText:
        benchmark::DoNotOptimize(ops.StoredText(&host, c.key));
        break;
      case HostOpCall::Kind::kStoredPointer:
        benchmark::DoNotOptimize(ops.StoredPointer(&host, c.key));
        break;
      case HostOpCall::Kind::kSetStoredPointer:
        ops.SetStoredPointer(&host, c.key, c.pointer);
        break;
      case HostOpCall::Kind::kHostTimeToZone:
        benchmark::DoNotOptimize(ops.HostTimeToZone(&host, c.time, c.zone.c_str()));
        break;
      case HostOpCall::Kind::kZoneTimeToHost:
        benchmark::DoNotOptimize(ops.ZoneTimeToHost(&host, c.time, c.zone.c_str()));
        break;
      case HostOpCall::Kind::kBarIndexAt:
        benchmark::DoNotOptimize(ops.BarIndexAt(&host, c.key, c.time));
        break;
      case HostOpCall::Kind::kPlaceDrawing: {
        DrawingSpec spec = c.spec;
        benchmark::DoNotOptimize(ops.PlaceDrawing(&host, &spec));
        break;
      }
      case HostOpCall::Kind::kRemoveDrawing:
        benchmark::DoNotOptimize(ops.RemoveDrawing(&host, c.key, c.value));
        break;
      case HostOpCall::Kind::kRemoveStudyDrawings:
        benchmark::DoNotOptimize(
            ops.RemoveStudyDrawings(&host, c.key, c.value, static_cast<std::int32_t>(c.time)));
        break;
      case HostOpCall::Kind::kOther: break;
    }
  }
}

}  // namespace ostrel::bench

#include "bench/lean_host.h"

#include <array>
#include <cstring>

namespace ostrel::bench {
namespace {

constexpr std::int32_t kKeys = 4096;
constexpr std::int64_t kMicrosPerHour = 3600LL * 1000000;

struct LeanState {
  std::array<std::int32_t, kKeys> ints{};
  std::array<float, kKeys> floats{};
  std::array<DateTime, kKeys> times{};
  std::array<HostString, 16> texts{};
  std::array<void*, 16> pointers{};
  std::int32_t next_drawing = 1;
  std::int64_t drawings = 0;
  LeanRequest request;
  DateTime bar_start = 0;
  std::int64_t bar_step = 1;
};

LeanState* g_state = nullptr;

std::int32_t clampKey(std::int32_t key) { return key < 0 || key >= kKeys ? 0 : key; }

void logMessage(StudyHost*, const char*, std::int32_t) {}
std::int32_t placeDrawing(StudyHost*, DrawingSpec* spec) {
  if (spec->DrawingNumber <= 0) {
    spec->DrawingNumber = g_state->next_drawing++;
    ++g_state->drawings;
  }
  return 1;
}
std::int32_t findDrawing(StudyHost*, std::int32_t, std::int32_t, DrawingSpec*, std::int32_t) {
  return 0;
}
std::int32_t removeDrawing(StudyHost*, std::int32_t, std::int32_t) {
  --g_state->drawings;
  return 1;
}
std::int32_t removeStudyDrawings(StudyHost*, std::int32_t, std::int32_t, std::int32_t) {
  const std::int64_t count = g_state->drawings;
  g_state->drawings = 0;
  return static_cast<std::int32_t>(count);
}
std::int32_t* storedInt(StudyHost*, std::int32_t key) { return &g_state->ints[clampKey(key)]; }
void setStoredInt(StudyHost*, std::int32_t key, std::int32_t value) {
  g_state->ints[clampKey(key)] = value;
}
float* storedFloat(StudyHost*, std::int32_t key) { return &g_state->floats[clampKey(key)]; }
DateTime* storedTime(StudyHost*, std::int32_t key) { return &g_state->times[clampKey(key)]; }
HostString* storedText(StudyHost*, std::int32_t key) {
  return &g_state->texts[static_cast<std::size_t>(key) % g_state->texts.size()];
}
void* storedPointer(StudyHost*, std::int32_t key) {
  return g_state->pointers[static_cast<std::size_t>(key) % g_state->pointers.size()];
}
void setStoredPointer(StudyHost*, std::int32_t key, void* pointer) {
  g_state->pointers[static_cast<std::size_t>(key) % g_state->pointers.size()] = pointer;
}
// The host zone is New York and the day is in daylight time: New York is the identity, "UTC+00"
// four hours ahead.
bool isUtc(const char* zone) { return zone != nullptr && std::strncmp(zone, "UTC", 3) == 0; }
DateTime hostTimeToZone(StudyHost*, DateTime t, const char* zone) {
  return isUtc(zone) ? t + 4 * kMicrosPerHour : t;
}
DateTime zoneTimeToHost(StudyHost*, DateTime t, const char* zone) {
  return isUtc(zone) ? t - 4 * kMicrosPerHour : t;
}
std::int32_t barIndexAt(StudyHost* host, std::int32_t, DateTime t) {
  if (t < g_state->bar_start || host->BarCount <= 0) return -1;
  const std::int64_t index = (t - g_state->bar_start) / g_state->bar_step;
  return index >= host->BarCount ? host->BarCount - 1 : static_cast<std::int32_t>(index);
}
std::int32_t startHttpRequest(StudyHost*, const char* url, const char*, const HttpHeaderField*,
                              std::int32_t) {
  g_state->request.started = true;
  g_state->request.history = url != nullptr && std::strstr(url, "/hist/") != nullptr;
  return 1;
}

}  // namespace

void installLeanHost(StudyHost& host, DateTime bar_start, std::int64_t bar_step) {
  static LeanState state;
  state = LeanState();
  state.bar_start = bar_start;
  state.bar_step = bar_step > 0 ? bar_step : 1;
  g_state = &state;
  StudyHostOperations& ops = host.Ops;
  ops = StudyHostOperations{};
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
}

LeanRequest takeLeanRequest() {
  const LeanRequest r = g_state->request;
  g_state->request = LeanRequest();
  return r;
}

std::int64_t leanDrawingCount() { return g_state->drawings; }

}  // namespace ostrel::bench

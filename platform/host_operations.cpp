#include "platform/host_operations.h"

#include <new>

#include "platform/binding_instance.h"
#include "platform/drawing_binding.h"
#include "platform/sc_datetime.h"

namespace ostrel::platform {
namespace {

constexpr std::int32_t kMaxHeaders = 16;
constexpr int kExcludeOtherInstances = 1;
// Bound on the walk through user-drawn drawings, against a platform that never answers 0.
constexpr int kMaxUserDrawnWalk = 1000000;

constexpr const char* kRequestLost =
    "Ostrel: out of memory; a request was not started. The next update recalculates and asks "
    "again.";
constexpr const char* kDrawingLost = "Ostrel: out of memory; a drawing was not placed.";

BindingInstance& instance(StudyHost* host) {
  return *static_cast<BindingInstance*>(host->HostContext);
}

void logMessage(StudyHost* host, const char* text, std::int32_t flag) {
  s_sc& sc = instance(host).record();
  if (sc.p_AddMessageToLog != nullptr) sc.AddMessageToLog(text != nullptr ? text : "", flag);
}

std::int32_t placeDrawing(StudyHost* host, DrawingSpec* spec) {
  if (spec == nullptr) return 0;
  BindingInstance& b = instance(host);
  s_sc& sc = b.record();
  s_UseTool tool;
  toUseTool(*spec, tool);
  if (!scStringHolds(tool.Text, spec->Text.c_str())) {  // never a line without its label
    b.memoryShort(kDrawingLost);
    spec->DrawingNumber = 0;
    return 0;
  }
  // As the SDK's own drawing helpers do: every drawing lands on the study's chart and region,
  // whatever the platform would make of chart 0 or region -1.
  if (tool.ChartNumber == 0) tool.ChartNumber = sc.ChartNumber;
  tool.Region = sc.GraphRegion;
  const int placed = sc.Internal_UseDrawingTool != nullptr ? sc.UseTool(tool) : 0;
  if (placed <= 0 || tool.LineNumber <= 0) {
    spec->DrawingNumber = 0;
    return 0;
  }
  if (tool.AddAsUserDrawnDrawing != 0) {
    try {
      b.noteUserDrawn(tool.LineNumber, spec->DrawingType);
    } catch (const std::bad_alloc&) {
      // Unnoted, no later call could find it: it goes at once, and the core hears of no drawing.
      if (sc.DeleteUserDrawnACSDrawing != nullptr) {
        sc.DeleteUserDrawnACSDrawing(sc.ChartNumber, tool.LineNumber);
      }
      b.memoryShort(kDrawingLost);
      spec->DrawingNumber = 0;
      return 0;
    }
  }
  spec->DrawingNumber = tool.LineNumber;
  return 1;
}

std::int32_t findDrawing(StudyHost* host, std::int32_t chart, std::int32_t type_filter,
                         DrawingSpec* spec, std::int32_t index) {
  if (spec == nullptr || index < 0) return 0;
  BindingInstance& b = instance(host);
  s_sc& sc = b.record();
  s_UseTool tool;
  const int own =
      sc.GetACSDrawingsCount != nullptr ? sc.GetACSDrawingsCount(chart, kExcludeOtherInstances) : 0;
  if (index < own) {
    if (sc.GetACSDrawingByIndex == nullptr ||
        sc.GetACSDrawingByIndex(chart, index, tool, kExcludeOtherInstances) <= 0) {
      return 0;
    }
    spec->DrawingNumber = tool.LineNumber;
    spec->DrawingType = tool.DrawingType == DRAWING_UNKNOWN ? kUnsetInt : tool.DrawingType;
    return 1;
  }
  if (sc.GetUserDrawnChartDrawing == nullptr || b.userDrawn().empty()) return 0;
  std::int32_t wanted = index - (own > 0 ? own : 0);
  for (int k = 0; k < kMaxUserDrawnWalk; ++k) {
    s_UseTool found;
    if (sc.GetUserDrawnChartDrawing(chart, type_filter, found, k) <= 0) return 0;
    if (!b.isUserDrawn(found.LineNumber)) continue;
    if (wanted-- > 0) continue;
    spec->DrawingNumber = found.LineNumber;
    spec->DrawingType = found.DrawingType == DRAWING_UNKNOWN ? kUnsetInt : found.DrawingType;
    return 1;
  }
  return 0;
}

std::int32_t removeDrawing(StudyHost* host, std::int32_t chart, std::int32_t number) {
  BindingInstance& b = instance(host);
  s_sc& sc = b.record();
  if (b.isUserDrawn(number)) {
    b.forgetUserDrawn(number);
    return sc.DeleteUserDrawnACSDrawing != nullptr ? sc.DeleteUserDrawnACSDrawing(chart, number)
                                                   : 0;
  }
  return sc.DeleteACSChartDrawing != nullptr
             ? sc.DeleteACSChartDrawing(chart, TOOL_DELETE_CHARTDRAWING, number)
             : 0;
}

std::int32_t removeStudyDrawings(StudyHost* host, std::int32_t chart, std::int32_t /*line*/,
                                 std::int32_t /*flags*/) {
  BindingInstance& b = instance(host);
  s_sc& sc = b.record();
  std::int32_t removed =
      sc.DeleteACSChartDrawing != nullptr ? sc.DeleteACSChartDrawing(chart, TOOL_DELETE_ALL, 0) : 0;
  if (sc.DeleteUserDrawnACSDrawing != nullptr) {
    for (const UserDrawnDrawing& d : b.userDrawn()) {
      if (sc.DeleteUserDrawnACSDrawing(chart, d.number) > 0) ++removed;
    }
  }
  b.userDrawn().clear();
  return removed;
}

std::int32_t* storedInt(StudyHost* host, std::int32_t key) {
  s_sc& sc = instance(host).record();
  return sc.GetPersistentInt != nullptr ? &sc.GetPersistentInt(key) : nullptr;
}

void setStoredInt(StudyHost* host, std::int32_t key, std::int32_t value) {
  s_sc& sc = instance(host).record();
  if (sc.SetPersistentInt != nullptr) {
    sc.SetPersistentInt(key, value);
  } else if (sc.GetPersistentInt != nullptr) {
    sc.GetPersistentInt(key) = value;
  }
}

float* storedFloat(StudyHost* host, std::int32_t key) {
  s_sc& sc = instance(host).record();
  return sc.GetPersistentFloat != nullptr ? &sc.GetPersistentFloat(key) : nullptr;
}

DateTime* storedTime(StudyHost* host, std::int32_t key) {
  s_sc& sc = instance(host).record();
  return sc.GetPersistentInt64 != nullptr ? &sc.GetPersistentInt64(key) : nullptr;
}

HostString* storedText(StudyHost* host, std::int32_t key) { return instance(host).storedText(key); }

void* storedPointer(StudyHost* host, std::int32_t key) {
  s_sc& sc = instance(host).record();
  if (key == kInstancePointerKey || sc.GetPersistentPointer == nullptr) return nullptr;
  return sc.GetPersistentPointer(key);
}

void setStoredPointer(StudyHost* host, std::int32_t key, void* pointer) {
  s_sc& sc = instance(host).record();
  if (key == kInstancePointerKey) return;
  if (sc.SetPersistentPointer != nullptr) {
    sc.SetPersistentPointer(key, pointer);
  } else if (sc.GetPersistentPointer != nullptr) {
    sc.GetPersistentPointer(key) = pointer;
  }
}

DateTime hostTimeToZone(StudyHost* host, DateTime t, const char* zone) {
  s_sc& sc = instance(host).record();
  if (zone == nullptr || zone[0] == '\0' ||
      sc.InternalConvertDateTimeFromChartTimeZone == nullptr) {
    return t;
  }
  return fromScDateTime(sc.ConvertDateTimeFromChartTimeZone(toScDateTime(t), zone));
}

DateTime zoneTimeToHost(StudyHost* host, DateTime t, const char* zone) {
  s_sc& sc = instance(host).record();
  if (zone == nullptr || zone[0] == '\0' || sc.InternalConvertDateTimeToChartTimeZone == nullptr) {
    return t;
  }
  return fromScDateTime(sc.ConvertDateTimeToChartTimeZone(toScDateTime(t), zone));
}

std::int32_t barIndexAt(StudyHost* host, std::int32_t chart, DateTime t) {
  BindingInstance& b = instance(host);
  s_sc& sc = b.record();
  const std::int32_t bars = b.host().BarCount;
  if (bars <= 0 || sc.GetContainingIndexForSCDateTime == nullptr) return -1;
  if (t < fromScDateTime(sc.BaseDateTimeIn[0])) return -1;
  const int index = sc.GetContainingIndexForSCDateTime(chart, toScDateTime(t));
  if (index < 0) return -1;
  return index >= bars ? bars - 1 : index;
}

std::int32_t startHttpRequest(StudyHost* host, const char* url, const char* body,
                              const HttpHeaderField* headers, std::int32_t count) {
  BindingInstance& b = instance(host);
  s_sc& sc = b.record();
  if (sc.MakeHTTPPOSTRequest == nullptr || count < 0 || count > kMaxHeaders ||
      (count > 0 && headers == nullptr)) {
    return 0;
  }
  n_ACSIL::s_HTTPHeader fields[kMaxHeaders];
  bool complete = true;
  for (std::int32_t i = 0; i < count; ++i) {
    fields[i].Name = headers[i].Name.c_str();
    fields[i].Value = headers[i].Value.c_str();
    if (!scStringHolds(fields[i].Name, headers[i].Name.c_str()) ||
        !scStringHolds(fields[i].Value, headers[i].Value.c_str())) {
      complete = false;
    }
  }
  if (url == nullptr) url = "";
  if (body == nullptr) body = "";
  const SCString address(url);
  const SCString content(body);
  if (!complete || !scStringHolds(address, url) || !scStringHolds(content, body)) {
    b.memoryShort(kRequestLost);  // never a request without its key or part of its address
    b.oweRecalculation();
    return 0;
  }
  const int id = sc.MakeHTTPPOSTRequest(address, content, fields, count);
  b.setPendingRequest(id);
  return id != 0 ? 1 : 0;
}

#if defined(OSTREL_SDK_STANDIN)
std::int32_t directHttpsGet(StudyHost* host, const DirectHttpsRequest* request,
                            DirectHttpsResult* result) {
  return instance(host).record().StandinDirectHttpsGet(request, result);
}
#endif

}  // namespace

void installPlatformOps(StudyHostOperations& ops) noexcept {
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
  ops.DirectHttpsGet = nullptr;
}

DirectHttpsGetOp platformDirectHttpsGet(const s_sc& sc) noexcept {
#if defined(OSTREL_SDK_STANDIN)
  return sc.StandinDirectHttpsGet != nullptr ? &directHttpsGet : nullptr;
#else
  static_cast<void>(sc);
  return nullptr;
#endif
}

}  // namespace ostrel::platform

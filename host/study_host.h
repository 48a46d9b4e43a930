// StudyHost: the record the charting host hands to every call of the study.
//
// It is a plain record of data fields and C function pointers, so that a host built separately
// (an executable that loads the DLL) can fill it and hand it over. The host owns everything it
// points to. Every operation takes the record itself as its first argument; a host keeps its own
// state behind `HostContext`. The study never calls these pointers directly: it goes through
// host/host_calls.h, which tolerates a host that leaves any of them null.
#pragma once

#include <cstdint>

#include "host/direct_https.h"
#include "host/drawing_spec.h"
#include "host/host_string.h"
#include "host/http_header_field.h"
#include "host/study_input.h"
#include "host/subgraph.h"

namespace ostrel {

struct StudyHost;

// Date-time: signed microseconds since 1899-12-30 00:00.
using DateTime = std::int64_t;

struct StudyHostOperations {
  void (*LogMessage)(StudyHost* host, const char* text, std::int32_t flag);
  // Fills spec.DrawingNumber with the number assigned (0 on failure); returns nonzero on success.
  std::int32_t (*PlaceDrawing)(StudyHost* host, DrawingSpec* spec);
  // > 0 when a drawing was found; fills spec.DrawingNumber and spec.DrawingType.
  std::int32_t (*FindDrawing)(StudyHost* host, std::int32_t chart, std::int32_t type_filter,
                              DrawingSpec* spec, std::int32_t index);
  std::int32_t (*RemoveDrawing)(StudyHost* host, std::int32_t chart, std::int32_t number);
  std::int32_t (*RemoveStudyDrawings)(StudyHost* host, std::int32_t chart, std::int32_t line,
                                      std::int32_t flags);
  // Per-instance stored values; the returned references stay valid for the current call.
  std::int32_t* (*StoredInt)(StudyHost* host, std::int32_t key);
  void (*SetStoredInt)(StudyHost* host, std::int32_t key, std::int32_t value);
  float* (*StoredFloat)(StudyHost* host, std::int32_t key);
  DateTime* (*StoredTime)(StudyHost* host, std::int32_t key);
  HostString* (*StoredText)(StudyHost* host, std::int32_t key);
  void* (*StoredPointer)(StudyHost* host, std::int32_t key);
  void (*SetStoredPointer)(StudyHost* host, std::int32_t key, void* pointer);
  DateTime (*HostTimeToZone)(StudyHost* host, DateTime host_time, const char* zone);
  DateTime (*ZoneTimeToHost)(StudyHost* host, DateTime zone_time, const char* zone);
  std::int32_t (*BarIndexAt)(StudyHost* host, std::int32_t chart, DateTime time);
  // Nonzero: started; the answer arrives in a later call through ResponseReady/ResponseText.
  std::int32_t (*StartHttpRequest)(StudyHost* host, const char* url, const char* body,
                                   const HttpHeaderField* headers, std::int32_t header_count);
  // Optional: stands in for the study's built-in HTTPS client (host/direct_https.h). Fills
  // `result` and returns its ok value.
  std::int32_t (*DirectHttpsGet)(StudyHost* host, const DirectHttpsRequest* request,
                                 DirectHttpsResult* result);
};

struct StudyHost {
  std::int32_t RecordSize = static_cast<std::int32_t>(sizeof(StudyHost));
  std::int32_t InterfaceVersion = kHostInterfaceVersion;

  // Call kind.
  std::int32_t IsDefaultsCall = 0;
  std::int32_t IsRemovalCall = 0;
  std::int32_t IsSuspended = 0;
  std::int32_t IsFullRecalc = 0;

  // Chart.
  std::int32_t BarCount = 0;
  const DateTime* BarTimes = nullptr;
  std::int32_t RecalcFromBar = 0;
  std::int32_t CurrentBarIndex = 0;
  std::int32_t ChartId = 0;
  float PriceTick = 0.0f;

  // Clocks.
  DateTime CurrentTime = 0;
  DateTime ClockTime = 0;
  DateTime AltClockTime = 0;
  std::int32_t UseAltClock = 0;

  // Answer to a host-carried request.
  std::int32_t ResponseReady = 0;
  const char* ResponseText = nullptr;

  std::int32_t HostBuild = 0;
  std::int32_t EarliestChangedBar = -1;

  // Written in the defaults call.
  HostString StudyTitle;
  std::int32_t RegionSetting = 0;
  std::int32_t LoopModeSetting = 0;
  std::int32_t AlwaysCallSetting = 0;

  StudyInput* Inputs = nullptr;
  std::int32_t InputCount = 0;
  Subgraph* Subgraphs = nullptr;
  std::int32_t SubgraphCount = 0;

  StudyHostOperations Ops{};
  void* HostContext = nullptr;
};

}  // namespace ostrel

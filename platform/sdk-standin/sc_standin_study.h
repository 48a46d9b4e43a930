// Stand-in SDK: the study record s_sc and the export conventions.
#pragma once

#include <cstdint>

#include "sc_standin_records.h"
#include "sc_standin_types.h"

// Builds against the stand-in may use the one stand-in-only member below.
#define OSTREL_SDK_STANDIN 1

namespace ostrel {
struct DirectHttpsRequest;
struct DirectHttpsResult;
}  // namespace ostrel

struct s_sc {
  // Call kind and chart.
  int SetDefaults = 0;
  int LastCallToFunction = 0;
  int HideStudy = 0;
  int IsFullRecalculation = 0;
  int ArraySize = 0;
  SCDateTimeArray BaseDateTimeIn;
  int UpdateStartIndex = 0;
  int ChartNumber = 0;
  float TickSize = 0.0f;
  int Index = 0;
  int ACSVersion = 0;

  // Clocks.
  SCDateTime CurrentSystemDateTime;
  SCDateTimeMS CurrentSystemDateTimeMS;
  SCDateTime CurrentDateTimeForReplay;
  int ReplayStatus = 0;  // 0 stopped, 1 running, 2 paused

  // Answer to a request started with MakeHTTPPOSTRequest / MakeHTTPRequest.
  int HTTPRequestID = 0;
  SCString HTTPResponse;

  int EarliestUpdateSubgraphDataArrayIndex = 0;

  SCString GraphName;
  int GraphRegion = 0;
  int AutoLoop = 1;
  int UpdateAlways = 0;

  SCInput145Array Input;
  SCSubgraph260Array Subgraph;

  // Operations the platform fills.
  SCString (*VersionNumber)() = nullptr;
  void (*p_AddMessageToLog)(const char* message, int ShowLog) = nullptr;
  int (*Internal_UseDrawingTool)(s_UseTool& tool) = nullptr;
  int (*GetACSDrawingByIndex)(int ChartNumber, int Index, s_UseTool& tool,
                              int ExcludeOtherStudyInstances) = nullptr;
  int (*GetACSDrawingsCount)(int ChartNumber, int ExcludeOtherStudyInstances) = nullptr;
  int (*GetUserDrawnChartDrawing)(int ChartNumber, int DrawingType, s_UseTool& tool,
                                  int DrawingIndex) = nullptr;
  int (*DeleteACSChartDrawing)(int ChartNumber, int Tool, int LineNumber) = nullptr;
  int (*DeleteUserDrawnACSDrawing)(int ChartNumber, int LineNumber) = nullptr;
  int& (*GetPersistentInt)(int key) = nullptr;
  void (*SetPersistentInt)(int key, int value) = nullptr;
  float& (*GetPersistentFloat)(int key) = nullptr;
  std::int64_t& (*GetPersistentInt64)(int key) = nullptr;
  SCDateTime& (*GetPersistentSCDateTime)(int key) = nullptr;
  SCString& (*GetPersistentSCString)(int key) = nullptr;
  void (*SetPersistentSCString)(int key, const SCString& value) = nullptr;
  void*& (*GetPersistentPointer)(int key) = nullptr;
  void (*SetPersistentPointer)(int key, void* pointer) = nullptr;
  SCDateTime (*InternalConvertDateTimeFromChartTimeZone)(const SCDateTime& time,
                                                         const char* zone) = nullptr;
  SCDateTime (*InternalConvertDateTimeToChartTimeZone)(const SCDateTime& time,
                                                       const char* zone) = nullptr;
  int (*GetContainingIndexForSCDateTime)(int ChartNumber, const SCDateTime& time) = nullptr;
  int (*MakeHTTPPOSTRequest)(const SCString& URL, const SCString& POSTData,
                             const n_ACSIL::s_HTTPHeader* Headers, int NumberOfHeaders) = nullptr;
  int (*MakeHTTPRequest)(const SCString& URL) = nullptr;

  // Stand-in only: the simulator's stand-in for the study's own HTTPS client (the platform has
  // nothing of the kind; the study then uses its built-in client).
  int (*StandinDirectHttpsGet)(const ostrel::DirectHttpsRequest* request,
                               ostrel::DirectHttpsResult* result) = nullptr;

  // Inline helpers over the operations.
  void AddMessageToLog(const char* message, int ShowLog) { p_AddMessageToLog(message, ShowLog); }
  int UseTool(s_UseTool& tool) { return Internal_UseDrawingTool(tool); }
  SCDateTime ConvertDateTimeFromChartTimeZone(const SCDateTime& time, const char* zone) {
    return InternalConvertDateTimeFromChartTimeZone(time, zone);
  }
  SCDateTime ConvertDateTimeToChartTimeZone(const SCDateTime& time, const char* zone) {
    return InternalConvertDateTimeToChartTimeZone(time, zone);
  }
  int IsReplayRunning() const { return ReplayStatus == 1; }
  SCDateTime GetCurrentDateTime() const {
    return ReplayStatus != 0 ? CurrentDateTimeForReplay : CurrentSystemDateTime;
  }
};

typedef s_sc& SCStudyInterfaceRef;

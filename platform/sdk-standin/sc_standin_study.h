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

// The study record, one per study instance. The platform constructs it: the constructor, the copy
// and the assignment are declared here and defined by the platform alone (a platform simulator
// defines the constructor). The data members have their initialisers; the function pointers
// have none, so whoever constructs a record sets each of them (or constructs it in zeroed
// storage).
struct s_sc {
  s_sc();
  s_sc(const s_sc&);
  s_sc& operator=(const s_sc&);

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
  SCString(SCDLLCALL* VersionNumber)();
  void(SCDLLCALL* p_AddMessageToLog)(const char* message, int ShowLog);
  int(SCDLLCALL* Internal_UseDrawingTool)(s_UseTool& tool);
  int(SCDLLCALL* GetACSDrawingByIndex)(int ChartNumber, int Index, s_UseTool& tool,
                                       int ExcludeOtherStudyInstances);
  int(SCDLLCALL* GetACSDrawingsCount)(int ChartNumber, int ExcludeOtherStudyInstances);
  int(SCDLLCALL* GetUserDrawnChartDrawing)(int ChartNumber, int DrawingType, s_UseTool& tool,
                                           int DrawingIndex);
  int(SCDLLCALL* DeleteACSChartDrawing)(int ChartNumber, int Tool, int LineNumber);
  int(SCDLLCALL* DeleteUserDrawnACSDrawing)(int ChartNumber, int LineNumber);
  int&(SCDLLCALL* GetPersistentInt)(int key);
  void(SCDLLCALL* SetPersistentInt)(int key, int value);
  float&(SCDLLCALL* GetPersistentFloat)(int key);
  std::int64_t&(SCDLLCALL* GetPersistentInt64)(int key);
  SCDateTime&(SCDLLCALL* GetPersistentSCDateTime)(int key);
  SCString&(SCDLLCALL* GetPersistentSCString)(int key);
  void(SCDLLCALL* SetPersistentSCString)(int key, const SCString& value);
  void*&(SCDLLCALL* GetPersistentPointer)(int key);
  void(SCDLLCALL* SetPersistentPointer)(int key, void* pointer);
  SCDateTime(SCDLLCALL* InternalConvertDateTimeFromChartTimeZone)(const SCDateTime& time,
                                                                  const char* zone);
  SCDateTime(SCDLLCALL* InternalConvertDateTimeToChartTimeZone)(const SCDateTime& time,
                                                                const char* zone);
  int(SCDLLCALL* GetContainingIndexForSCDateTime)(int ChartNumber, const SCDateTime& time);
  int(SCDLLCALL* MakeHTTPPOSTRequest)(const SCString& URL, const SCString& POSTData,
                                      const n_ACSIL::s_HTTPHeader* Headers, int NumberOfHeaders);
  int(SCDLLCALL* MakeHTTPRequest)(const SCString& URL);

  // Stand-in only: the simulator's stand-in for the study's own HTTPS client (the platform has
  // nothing of the kind; the study then uses its built-in client).
  int(SCDLLCALL* StandinDirectHttpsGet)(const ostrel::DirectHttpsRequest* request,
                                        ostrel::DirectHttpsResult* result);

  // Inline helpers over the operations.
  void AddMessageToLog(const char* message, int ShowLog) { p_AddMessageToLog(message, ShowLog); }
  int UseTool(s_UseTool& tool) { return Internal_UseDrawingTool(tool); }
  SCDateTime ConvertDateTimeFromChartTimeZone(const SCDateTime& time, const char* zone) {
    return InternalConvertDateTimeFromChartTimeZone(time, zone);
  }
  SCDateTime ConvertDateTimeToChartTimeZone(const SCDateTime& time, const char* zone) {
    return InternalConvertDateTimeToChartTimeZone(time, zone);
  }
};

typedef s_sc& SCStudyInterfaceRef;

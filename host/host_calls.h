// The study's only way to call the host: thin wrappers over StudyHost's operations.
//
// A host may leave any operation null; each wrapper then does nothing and answers what a host
// would answer for "nothing there" (0, an absent pointer, the time unchanged). Stored values are
// read and written by value, so no reference into the host outlives a statement. Inputs and
// subgraphs are reached by clamped index; the study entry refuses a host that provides none, so
// these accessors may assume at least one of each.
#pragma once

#include <cmath>
#include <cstdint>

#include "host/study_host.h"

namespace ostrel::host {

inline void logMessage(StudyHost& h, const char* text, std::int32_t flag) {
  if (h.Ops.LogMessage != nullptr) h.Ops.LogMessage(&h, text != nullptr ? text : "", flag);
}

// A drawing at a price that is not finite (a conversion that overflowed the float range, say)
// never reaches the host, which could place it nowhere: it is answered as not placed.
inline std::int32_t placeDrawing(StudyHost& h, DrawingSpec& spec) {
  if (h.Ops.PlaceDrawing == nullptr || !std::isfinite(spec.BeginValue) ||
      !std::isfinite(spec.EndValue)) {
    spec.DrawingNumber = 0;
    return 0;
  }
  return h.Ops.PlaceDrawing(&h, &spec);
}

// `index`: which of the study's drawings (any type) to report, from 0.
inline std::int32_t findDrawing(StudyHost& h, DrawingSpec& spec, std::int32_t index = 0) {
  if (h.Ops.FindDrawing == nullptr) return 0;
  return h.Ops.FindDrawing(&h, h.ChartId, /*type_filter=*/0, &spec, index);
}

inline void removeDrawing(StudyHost& h, std::int32_t number) {
  if (h.Ops.RemoveDrawing != nullptr) h.Ops.RemoveDrawing(&h, h.ChartId, number);
}

inline void removeStudyDrawings(StudyHost& h) {
  if (h.Ops.RemoveStudyDrawings != nullptr) {
    h.Ops.RemoveStudyDrawings(&h, h.ChartId, /*line=*/-1, /*flags=*/0);
  }
}

inline std::int32_t storedInt(StudyHost& h, std::int32_t key) {
  if (h.Ops.StoredInt == nullptr) return 0;
  const std::int32_t* value = h.Ops.StoredInt(&h, key);
  return value != nullptr ? *value : 0;
}

inline void setStoredInt(StudyHost& h, std::int32_t key, std::int32_t value) {
  if (h.Ops.SetStoredInt != nullptr) {
    h.Ops.SetStoredInt(&h, key, value);
  } else if (h.Ops.StoredInt != nullptr) {
    if (std::int32_t* slot = h.Ops.StoredInt(&h, key)) *slot = value;
  }
}

inline DateTime storedTime(StudyHost& h, std::int32_t key) {
  if (h.Ops.StoredTime == nullptr) return 0;
  const DateTime* value = h.Ops.StoredTime(&h, key);
  return value != nullptr ? *value : 0;
}

inline void setStoredTime(StudyHost& h, std::int32_t key, DateTime value) {
  if (h.Ops.StoredTime == nullptr) return;
  if (DateTime* slot = h.Ops.StoredTime(&h, key)) *slot = value;
}

// Null when the host keeps no text store.
inline HostString* storedText(StudyHost& h, std::int32_t key) {
  return h.Ops.StoredText != nullptr ? h.Ops.StoredText(&h, key) : nullptr;
}

inline void* storedPointer(StudyHost& h, std::int32_t key) {
  return h.Ops.StoredPointer != nullptr ? h.Ops.StoredPointer(&h, key) : nullptr;
}

inline void setStoredPointer(StudyHost& h, std::int32_t key, void* pointer) {
  if (h.Ops.SetStoredPointer != nullptr) h.Ops.SetStoredPointer(&h, key, pointer);
}

inline DateTime hostTimeToZone(StudyHost& h, DateTime t, const char* zone) {
  return h.Ops.HostTimeToZone != nullptr ? h.Ops.HostTimeToZone(&h, t, zone) : t;
}

inline DateTime zoneTimeToHost(StudyHost& h, DateTime t, const char* zone) {
  return h.Ops.ZoneTimeToHost != nullptr ? h.Ops.ZoneTimeToHost(&h, t, zone) : t;
}

inline std::int32_t barIndexAt(StudyHost& h, DateTime t) {
  return h.Ops.BarIndexAt != nullptr ? h.Ops.BarIndexAt(&h, h.ChartId, t) : -1;
}

inline std::int32_t startHttpRequest(StudyHost& h, const char* url, const char* body,
                                     const HttpHeaderField* headers, std::int32_t count) {
  if (h.Ops.StartHttpRequest == nullptr) return 0;
  return h.Ops.StartHttpRequest(&h, url, body, headers, count);
}

inline bool hasInputsAndSubgraphs(const StudyHost& h) {
  return h.Inputs != nullptr && h.InputCount > 0 && h.Subgraphs != nullptr && h.SubgraphCount > 0;
}

inline StudyInput& input(StudyHost& h, std::int32_t index) {
  if (index < 0) index = 0;
  if (index >= h.InputCount) index = h.InputCount - 1;
  return h.Inputs[index];
}

inline Subgraph& subgraph(StudyHost& h, std::int32_t index) {
  if (index < 0) index = 0;
  if (index >= h.SubgraphCount) index = h.SubgraphCount - 1;
  return h.Subgraphs[index];
}

}  // namespace ostrel::host

// The trace of a replay: one entry per call and the final state of the host, written with
// JsonWriter (layout and number format there).
//
// Subgraph bars and stored keys are listed in ascending order; drawings by number. Only the
// first kTracedInputs inputs and kTracedSubgraphs subgraphs (the study's own) are listed.
#pragma once

#include <cstdint>

#include "jsonout/json_writer.h"
#include "sim/sim_host.h"

namespace ostrel::sim {

constexpr std::int32_t kTracedInputs = 110;
constexpr std::int32_t kTracedSubgraphs = 19;

// `kind`: "defaults", "update", "removal" or "suspended". input_writes lists the slots that
// the call changed, except for the defaults call, which declares them all.
void writeCallTrace(JsonWriter& out, std::int32_t index, const char* kind, const CallRecord& record,
                    SimHost& sim);
void writeFinalTrace(JsonWriter& out, SimHost& sim);

// `number` and every DrawingSpec field by name; unset fields keep their markers.
void writeDrawing(JsonWriter& out, std::int32_t number, const DrawingSpec& spec);

}  // namespace ostrel::sim

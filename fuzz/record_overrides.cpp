#include "fuzz/record_overrides.h"

#include <cstring>

namespace ostrel::fuzz {

RecordOverrides::Held RecordOverrides::apply(s_sc& sc) const {
  if (array_size) sc.ArraySize = *array_size;
  if (update_start) sc.UpdateStartIndex = *update_start;
  if (tick) sc.TickSize = *tick;
  if (now) sc.CurrentSystemDateTime = sc.CurrentSystemDateTimeMS = SCDateTime::MICROSECONDS(*now);
  if (replay) {
    sc.ReplayStatus = replay->first;
    sc.CurrentDateTimeForReplay = SCDateTime::MICROSECONDS(replay->second);
  }
  if (earliest) sc.EarliestUpdateSubgraphDataArrayIndex = *earliest;
  if (request_id) sc.HTTPRequestID = *request_id;
  Held held;
  held.inputs = sc.Input.GetPointer();
  held.input_count = sc.Input.GetArraySize();
  held.subgraphs = sc.Subgraph.GetPointer();
  held.subgraph_count = sc.Subgraph.GetArraySize();
  for (const RawInput& r : raw) {
    if (held.inputs == nullptr || r.slot >= held.input_count) continue;
    s_SCInput_145& to = held.inputs[r.slot];
    if (r.type == STRING_VALUE) {
      to.SetString(r.text.c_str());
      continue;
    }
    to.ClearString();
    to.ValueType = r.type;
    std::memcpy(to.ValueBytes, r.value, sizeof r.value);
  }
  if (inputs >= 0) sc.Input.InternalSetArray(held.inputs, inputs);
  if (subgraphs >= 0) sc.Subgraph.InternalSetArray(held.subgraphs, subgraphs);
  return held;
}

void RecordOverrides::restore(s_sc& sc, const Held& held) {
  sc.Input.InternalSetArray(held.inputs, held.input_count);
  sc.Subgraph.InternalSetArray(held.subgraphs, held.subgraph_count);
}

}  // namespace ostrel::fuzz

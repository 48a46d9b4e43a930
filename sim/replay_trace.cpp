#include "sim/replay_trace.h"

#include <cstring>
#include <string>

#include "sim/replay_inputs.h"

namespace ostrel::sim {
namespace {

void writeInputValue(JsonWriter& out, const StudyInput& slot) {
  switch (slot.type) {
    case InputType::kFloat: out.number(static_cast<float>(slot.double_value)); break;
    case InputType::kTimeOfDay: out.numberDouble(slot.double_value); break;
    case InputType::kColour: out.integer(slot.colour_value); break;
    case InputType::kInteger:
    case InputType::kYesNo:
    case InputType::kCustomList:
    case InputType::kTimeZone: out.integer(slot.int_value); break;
    case InputType::kText: out.value(slot.has_text != 0 ? slot.text.c_str() : nullptr); break;
    default: out.null(); break;
  }
}

void writeInput(JsonWriter& out, std::int32_t index, const StudyInput& slot, bool full) {
  out.beginObject(/*inline_container=*/true);
  out.key("index");
  out.integer(index);
  if (full) {
    out.key("name");
    out.value(slot.name.c_str());
  }
  out.key("type");
  out.value(inputTypeName(slot.type));
  out.key("value");
  writeInputValue(out, slot);
  if (full) {
    if (slot.type == InputType::kCustomList) {
      out.key("options");
      out.value(slot.options.c_str());
    }
    out.key("position");
    out.integer(slot.display_position);
  }
  out.endObject();
}

void writeHost(JsonWriter& out, SimHost& sim) {
  out.key("host");
  out.beginObject(/*inline_container=*/true);
  out.key("RecalcFromBar");
  out.integer(sim.host().RecalcFromBar);
  out.key("EarliestChangedBar");
  if (sim.earliestChangedBarSet()) {
    out.integer(sim.host().EarliestChangedBar);
  } else {
    out.null();
  }
  out.endObject();
}

void writeRequest(JsonWriter& out, const RequestRecord& r) {
  out.beginObject(/*inline_container=*/true);
  out.key("url");
  out.value(r.url);
  out.key("body");
  out.value(r.body ? r.body->c_str() : nullptr);
  out.key("headers");
  out.beginArray();
  for (const auto& h : r.headers) {
    out.beginArray();
    out.value(h.first);
    out.value(h.second);
    out.endArray();
  }
  out.endArray();
  out.key("started");
  out.boolean(r.started);
  out.endObject();
}

void writeSubgraph(JsonWriter& out, std::int32_t index, const Subgraph& sg) {
  out.beginObject(/*inline_container=*/true);
  out.key("index");
  out.integer(index);
  out.key("name");
  out.value(sg.name.c_str());
  out.key("color");
  out.integer(sg.primary_colour);
  out.key("draw_style");
  out.integer(sg.draw_style);
  out.key("width");
  out.integer(sg.line_width);
  out.key("third");
  out.integer(sg.third_style);
  out.key("values");
  out.beginObject();
  for (std::int32_t bar = 0; bar < sg.value_count; ++bar) {
    if (sg.values[bar] == 0.0f) continue;
    out.key(std::to_string(bar).c_str());
    out.number(sg.values[bar]);
  }
  out.endObject();
  out.key("colors");
  out.beginObject();
  for (std::int32_t bar = 0; bar < sg.colour_count; ++bar) {
    if (sg.colours[bar] == 0) continue;
    out.key(std::to_string(bar).c_str());
    out.integer(sg.colours[bar]);
  }
  out.endObject();
  out.endObject();
}

template <typename T, typename WriteValue>
void writeStore(JsonWriter& out, const char* name, const Store<T>& store, WriteValue write) {
  out.key(name);
  out.beginObject(/*inline_container=*/true);
  for (std::int32_t key : store.ever_set) {
    auto it = store.values.find(key);
    if (it == store.values.end()) continue;
    out.key(std::to_string(key).c_str());
    write(it->second);
  }
  out.endObject();
}

}  // namespace

void writeDrawing(JsonWriter& out, std::int32_t number, const DrawingSpec& d) {
  out.beginObject(/*inline_container=*/true);
  const auto field = [&out](const char* name, std::int64_t value) {
    out.key(name);
    out.integer(value);
  };
  field("number", number);
  field("RecordSize", d.RecordSize);
  field("DrawingNumber", d.DrawingNumber);
  field("ChartNumber", d.ChartNumber);
  field("DrawingType", d.DrawingType);
  out.key("BeginValue");
  out.number(d.BeginValue);
  out.key("EndValue");
  out.number(d.EndValue);
  field("BeginTime", d.BeginTime);
  field("EndTime", d.EndTime);
  field("Color", d.Color);
  field("FillColor", d.FillColor);
  field("Transparency", d.Transparency);
  field("LineWidth", d.LineWidth);
  field("LineStyle", d.LineStyle);
  field("AddMode", d.AddMode);
  field("MarkerType", d.MarkerType);
  field("MarkerSize", d.MarkerSize);
  field("Hidden", d.Hidden);
  out.key("Text");
  out.value(d.Text.c_str());
  field("FontSize", d.FontSize);
  field("TextAlignment", d.TextAlignment);
  field("TransparentBackground", d.TransparentBackground);
  field("CopySettingA", d.CopySettingA);
  field("CopySettingB", d.CopySettingB);
  field("CopySettingC", d.CopySettingC);
  field("RecordVersion", d.RecordVersion);
  out.endObject();
}

void writeCallTrace(JsonWriter& out, std::int32_t index, const char* kind, const CallRecord& record,
                    SimHost& sim) {
  out.beginObject();
  out.key("index");
  out.integer(index);
  out.key("kind");
  out.value(kind);
  out.key("log");
  out.beginArray();
  for (const LogEntry& e : record.log) {
    out.beginObject(/*inline_container=*/true);
    out.key("text");
    out.value(e.text);
    out.key("flag");
    out.integer(e.flag);
    out.endObject();
  }
  out.endArray();
  out.key("requests");
  out.beginArray();
  for (const RequestRecord& r : record.requests) writeRequest(out, r);
  out.endArray();
  out.key("conversions");
  out.beginArray();
  for (const DirectRequestRecord& c : record.conversions) {
    out.beginObject(/*inline_container=*/true);
    out.key("path");
    out.value(c.path);
    out.key("headers");
    out.value(c.header_block);
    out.key("user_agent");
    out.value(c.user_agent);
    out.endObject();
  }
  out.endArray();
  out.key("placed");
  out.beginArray();
  for (const PlacedRecord& p : record.placed) writeDrawing(out, p.number, p.spec);
  out.endArray();
  out.key("removed");
  out.beginArray(/*inline_container=*/true);
  for (std::int32_t n : record.removed) out.integer(n);
  out.endArray();
  out.key("removed_all");
  out.integer(record.removed_all);
  out.key("input_writes");
  out.beginArray();
  if (std::strcmp(kind, "defaults") != 0) {
    for (std::int32_t i : record.changed_inputs) writeInput(out, i, sim.input(i), false);
  }
  out.endArray();
  writeHost(out, sim);
  out.endObject();
}

void writeFinalTrace(JsonWriter& out, SimHost& sim) {
  const StudyHost& h = sim.host();
  out.beginObject();
  out.key("study");
  out.beginObject(/*inline_container=*/true);
  out.key("title");
  out.value(h.StudyTitle.c_str());
  out.key("region");
  out.integer(h.RegionSetting);
  out.key("loop_mode");
  out.integer(h.LoopModeSetting);
  out.key("always_call");
  out.integer(h.AlwaysCallSetting);
  out.endObject();
  out.key("inputs");
  out.beginArray();
  for (std::int32_t i = 0; i < kTracedInputs; ++i) writeInput(out, i, sim.input(i), true);
  out.endArray();
  out.key("subgraphs");
  out.beginArray();
  for (std::int32_t i = 0; i < kTracedSubgraphs; ++i) writeSubgraph(out, i, sim.subgraph(i));
  out.endArray();
  out.key("drawings");
  out.beginArray();
  for (const auto& d : sim.drawings()) writeDrawing(out, d.first, d.second.spec);
  out.endArray();
  out.key("stored");
  out.beginObject();
  writeStore(out, "int", sim.storedInts(), [&out](std::int32_t v) { out.integer(v); });
  writeStore(out, "float", sim.storedFloats(), [&out](float v) { out.number(v); });
  writeStore(out, "time", sim.storedTimes(), [&out](DateTime v) { out.integer(v); });
  writeStore(out, "text", sim.storedTexts(), [&out](const HostString& v) { out.value(v.c_str()); });
  writeStore(out, "pointer", sim.storedPointers(), [&out](void* v) { out.boolean(v != nullptr); });
  out.endObject();
  out.endObject();
}

}  // namespace ostrel::sim

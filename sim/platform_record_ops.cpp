#include "sim/platform_record_ops.h"

#include <iterator>
#include <string>
#include <vector>

#include "platform/binding_instance.h"
#include "sim/allocation_faults.h"
#include "sim/platform_record_drawings.h"
#include "sim/platform_record_state.h"

namespace ostrel::sim {
namespace {

DateTime fromPlatformTime(const SCDateTime& t) { return t.AsMicrosecondsSinceBaseDate(); }
SCDateTime toPlatformTime(DateTime t) { return SCDateTime::MICROSECONDS(t); }

}  // namespace

struct PlatformOps {
  static PlatformRecord::State& self() { return *PlatformRecord::current()->state_; }
  static StudyHost& host() { return self().sim.host(); }

  static SCString versionNumber() {
    const HostCallScope host_side;
    const std::string text = std::to_string(host().HostBuild);
    return SCString(text.c_str(), static_cast<int>(text.size()));
  }

  static void addMessageToLog(const char* message, int show) {
    const HostCallScope host_side;
    StudyHost& h = host();
    h.Ops.LogMessage(&h, message, show);
  }

  // One chart: a drawing for another chart or region is not placed.
  static int useDrawingTool(s_UseTool& tool) {
    const HostCallScope host_side;
    const s_sc& sc = *self().sc;
    if (tool.ChartNumber != sc.ChartNumber || tool.Region != sc.GraphRegion) return 0;
    StudyHost& h = host();
    DrawingSpec spec;
    drawingFromUseTool(tool, spec);
    if (h.Ops.PlaceDrawing(&h, &spec) == 0) return 0;
    tool.LineNumber = spec.DrawingNumber;
    if (tool.AddAsUserDrawnDrawing != 0) {
      self().user_drawn.insert(spec.DrawingNumber);
    } else {
      self().user_drawn.erase(spec.DrawingNumber);
    }
    return 1;
  }

  static bool studyDrawing(const SimDrawing& d, std::int32_t number) {
    const HostCallScope host_side;
    return d.study_own && self().user_drawn.count(number) == 0;
  }

  static int drawingsCount(int /*chart*/, int /*exclude_others*/) {
    const HostCallScope host_side;
    int count = 0;
    for (const auto& entry : self().sim.drawings()) {
      if (studyDrawing(entry.second, entry.first)) ++count;
    }
    return count;
  }

  // The index-th study drawing that is not user-drawn, asked of the SimHost by its index among
  // all the study's drawings (so that the SimHost's scripted faults apply).
  static int drawingByIndex(int chart, int index, s_UseTool& tool, int /*exclude_others*/) {
    const HostCallScope host_side;
    if (index < 0) return 0;
    int all = 0;
    int seen = 0;
    bool found = false;
    for (const auto& entry : self().sim.drawings()) {
      if (!entry.second.study_own) continue;
      if (self().user_drawn.count(entry.first) == 0 && seen++ == index) {
        found = true;
        break;
      }
      ++all;
    }
    if (!found) all = index;  // past the end: the SimHost answers as it answers
    StudyHost& h = host();
    DrawingSpec spec;
    if (h.Ops.FindDrawing(&h, chart, 0, &spec, all) <= 0) return 0;
    const SimDrawing* d = self().sim.drawings().find(spec.DrawingNumber);
    if (d != nullptr) useToolFromDrawing(d->spec, tool);
    tool.LineNumber = spec.DrawingNumber;
    tool.DrawingType = spec.DrawingType == kUnsetInt
                           ? DRAWING_UNKNOWN
                           : static_cast<DrawingTypeEnum>(spec.DrawingType);
    return 1;
  }

  static int userDrawnDrawing(int /*chart*/, int type, s_UseTool& tool, int index) {
    const HostCallScope host_side;
    if (index < 0) return 0;
    int seen = 0;
    for (const auto& entry : self().sim.drawings()) {
      const SimDrawing& d = entry.second;
      const bool user_drawn = !d.study_own || self().user_drawn.count(entry.first) != 0;
      if (!user_drawn || (type != 0 && d.spec.DrawingType != type)) continue;
      if (seen++ != index) continue;
      useToolFromDrawing(d.spec, tool);
      tool.LineNumber = entry.first;
      return 1;
    }
    return 0;
  }

  static int deleteChartDrawing(int chart, int which, int number) {
    const HostCallScope host_side;
    StudyHost& h = host();
    if (which == TOOL_DELETE_ALL) {
      const int removed = h.Ops.RemoveStudyDrawings(&h, chart, -1, 0);
      auto& user_drawn = self().user_drawn;
      for (auto it = user_drawn.begin(); it != user_drawn.end();) {
        it = self().sim.drawings().count(*it) == 0 ? user_drawn.erase(it) : std::next(it);
      }
      return removed;
    }
    return h.Ops.RemoveDrawing(&h, chart, number);
  }

  static int deleteUserDrawn(int chart, int number) {
    const HostCallScope host_side;
    if (self().sim.drawings().count(number) == 0) return 0;
    self().user_drawn.erase(number);
    StudyHost& h = host();
    return h.Ops.RemoveDrawing(&h, chart, number);
  }

  static int& persistentInt(int key) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return *h.Ops.StoredInt(&h, key);
  }
  static void setPersistentInt(int key, int value) {
    const HostCallScope host_side;
    StudyHost& h = host();
    h.Ops.SetStoredInt(&h, key, value);
  }
  static float& persistentFloat(int key) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return *h.Ops.StoredFloat(&h, key);
  }
  static std::int64_t& persistentInt64(int key) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return *h.Ops.StoredTime(&h, key);
  }
  static SCDateTime& persistentDateTime(int key) {
    const HostCallScope host_side;
    return self().date_times[key];
  }

  static SCString& persistentText(int key) {
    const HostCallScope host_side;
    PlatformRecord::State& r = self();
    SCString& held = r.texts[key];
    if (r.texts_used.insert(key).second) {
      StudyHost& h = host();
      const HostString* text = h.Ops.StoredText(&h, key);
      const char* now = text != nullptr ? text->c_str() : "";
      if (held.Compare(now) != 0) held = now;
    }
    return held;
  }
  static void setPersistentText(int key, const SCString& value) {
    const HostCallScope host_side;
    const SCString copy(value.GetChars());
    persistentText(key) = copy.GetChars();
  }

  static void*& persistentPointer(int key) {
    const HostCallScope host_side;
    PlatformRecord::State& r = self();
    if (key == platform::kInstancePointerKey) return r.binding_pointer;
    void*& held = r.pointers[key];
    if (r.pointers_used.insert(key).second) {
      StudyHost& h = host();
      held = h.Ops.StoredPointer(&h, key);
    }
    return held;
  }
  static void setPersistentPointer(int key, void* pointer) {
    const HostCallScope host_side;
    persistentPointer(key) = pointer;
    if (key == platform::kInstancePointerKey) return;
    StudyHost& h = host();
    h.Ops.SetStoredPointer(&h, key, pointer);
  }

  static SCDateTime fromChartZone(const SCDateTime& t, const char* zone) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return toPlatformTime(h.Ops.HostTimeToZone(&h, fromPlatformTime(t), zone));
  }
  static SCDateTime toChartZone(const SCDateTime& t, const char* zone) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return toPlatformTime(h.Ops.ZoneTimeToHost(&h, fromPlatformTime(t), zone));
  }
  static int containingIndex(int chart, const SCDateTime& t) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return h.Ops.BarIndexAt(&h, chart, fromPlatformTime(t));
  }

  static int post(const SCString& url, const SCString& body, const n_ACSIL::s_HTTPHeader* headers,
                  int count) {
    const HostCallScope host_side;
    std::vector<HttpHeaderField> fields(count > 0 && headers != nullptr ? count : 0);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      fields[i].Name.assign(headers[i].Name.GetChars());
      fields[i].Value.assign(headers[i].Value.GetChars());
    }
    StudyHost& h = host();
    const std::int32_t started =
        h.Ops.StartHttpRequest(&h, url.GetChars(), body.GetChars(), fields.data(),
                               static_cast<std::int32_t>(fields.size()));
    if (started == 0) return 0;
    PlatformRecord::State& r = self();
    const std::int32_t id = r.next_request_id++;
    r.unanswered.push_back(id);
    return id;
  }
  static int get(const SCString& url) {
    const HostCallScope host_side;
    const SCString none;
    return post(url, none, nullptr, 0);
  }

#if defined(OSTREL_SDK_STANDIN)
  static int directHttpsGet(const DirectHttpsRequest* request, DirectHttpsResult* result) {
    const HostCallScope host_side;
    StudyHost& h = host();
    return h.Ops.DirectHttpsGet != nullptr ? h.Ops.DirectHttpsGet(&h, request, result) : 0;
  }
#endif

  static void setCustomStrings(int index, const char* strings) {
    const HostCallScope host_side;
    self().options_set[index] = strings != nullptr ? strings : "";
  }
  // The study declares no description; the platform would show it in the settings.
  static void setDescription(int /*index*/, const char* /*text*/) {}
};

void installPlatformRecordOps(s_sc& sc, s_SCInput_145* inputs, int input_count) noexcept {
  const HostCallScope host_side;
  sc.VersionNumber = &PlatformOps::versionNumber;
  sc.p_AddMessageToLog = &PlatformOps::addMessageToLog;
  sc.Internal_UseDrawingTool = &PlatformOps::useDrawingTool;
  sc.GetACSDrawingByIndex = &PlatformOps::drawingByIndex;
  sc.GetACSDrawingsCount = &PlatformOps::drawingsCount;
  sc.GetUserDrawnChartDrawing = &PlatformOps::userDrawnDrawing;
  sc.DeleteACSChartDrawing = &PlatformOps::deleteChartDrawing;
  sc.DeleteUserDrawnACSDrawing = &PlatformOps::deleteUserDrawn;
  sc.GetPersistentInt = &PlatformOps::persistentInt;
  sc.SetPersistentInt = &PlatformOps::setPersistentInt;
  sc.GetPersistentFloat = &PlatformOps::persistentFloat;
  sc.GetPersistentInt64 = &PlatformOps::persistentInt64;
  sc.GetPersistentSCDateTime = &PlatformOps::persistentDateTime;
  sc.GetPersistentSCString = &PlatformOps::persistentText;
  sc.SetPersistentSCString = &PlatformOps::setPersistentText;
  sc.GetPersistentPointer = &PlatformOps::persistentPointer;
  sc.SetPersistentPointer = &PlatformOps::setPersistentPointer;
  sc.InternalConvertDateTimeFromChartTimeZone = &PlatformOps::fromChartZone;
  sc.InternalConvertDateTimeToChartTimeZone = &PlatformOps::toChartZone;
  sc.GetContainingIndexForSCDateTime = &PlatformOps::containingIndex;
  sc.MakeHTTPPOSTRequest = &PlatformOps::post;
  sc.MakeHTTPRequest = &PlatformOps::get;
#if defined(OSTREL_SDK_STANDIN)
  sc.StandinDirectHttpsGet = &PlatformOps::directHttpsGet;
#endif
  for (int i = 0; i < input_count; ++i) {
    inputs[i].InternalSetCustomStrings = &PlatformOps::setCustomStrings;
    inputs[i].InternalSetDescription = &PlatformOps::setDescription;
  }
}

}  // namespace ostrel::sim

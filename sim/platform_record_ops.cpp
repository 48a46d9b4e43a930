#include "sim/platform_record_ops.h"

#include <iterator>
#include <string>
#include <vector>

#include "platform/binding_instance.h"
#include "platform/drawing_binding.h"
#include "platform/sc_datetime.h"
#include "sim/platform_record.h"

namespace ostrel::sim {

struct PlatformOps {
  static PlatformRecord& self() { return *PlatformRecord::current(); }
  static StudyHost& host() { return self().sim_.host(); }

  static SCString versionNumber() { return SCString(std::to_string(host().HostBuild).c_str()); }

  static void addMessageToLog(const char* message, int show) {
    StudyHost& h = host();
    h.Ops.LogMessage(&h, message, show);
  }

  static int useDrawingTool(s_UseTool& tool) {
    StudyHost& h = host();
    DrawingSpec spec;
    platform::toDrawingSpec(tool, spec);
    if (h.Ops.PlaceDrawing(&h, &spec) == 0) return 0;
    tool.LineNumber = spec.DrawingNumber;
    if (tool.AddAsUserDrawnDrawing != 0) {
      self().user_drawn_.insert(spec.DrawingNumber);
    } else {
      self().user_drawn_.erase(spec.DrawingNumber);
    }
    return 1;
  }

  static bool studyDrawing(const SimDrawing& d, std::int32_t number) {
    return d.study_own && self().user_drawn_.count(number) == 0;
  }

  static int drawingsCount(int /*chart*/, int /*exclude_others*/) {
    int count = 0;
    for (const auto& entry : self().sim_.drawings()) {
      if (studyDrawing(entry.second, entry.first)) ++count;
    }
    return count;
  }

  // The index-th study drawing that is not user-drawn, asked of the SimHost by its index among
  // all the study's drawings (so that the SimHost's scripted faults apply).
  static int drawingByIndex(int chart, int index, s_UseTool& tool, int /*exclude_others*/) {
    if (index < 0) return 0;
    int all = 0;
    int seen = 0;
    bool found = false;
    for (const auto& entry : self().sim_.drawings()) {
      if (!entry.second.study_own) continue;
      if (self().user_drawn_.count(entry.first) == 0 && seen++ == index) {
        found = true;
        break;
      }
      ++all;
    }
    if (!found) all = index;  // past the end: the SimHost answers as it answers
    StudyHost& h = host();
    DrawingSpec spec;
    if (h.Ops.FindDrawing(&h, chart, 0, &spec, all) <= 0) return 0;
    const SimDrawing* d = self().sim_.drawings().find(spec.DrawingNumber);
    if (d != nullptr) platform::toUseTool(d->spec, tool);
    tool.LineNumber = spec.DrawingNumber;
    tool.DrawingType = spec.DrawingType == kUnsetInt
                           ? DRAWING_UNKNOWN
                           : static_cast<DrawingTypeEnum>(spec.DrawingType);
    return 1;
  }

  static int userDrawnDrawing(int /*chart*/, int type, s_UseTool& tool, int index) {
    if (index < 0) return 0;
    int seen = 0;
    for (const auto& entry : self().sim_.drawings()) {
      const SimDrawing& d = entry.second;
      const bool user_drawn = !d.study_own || self().user_drawn_.count(entry.first) != 0;
      if (!user_drawn || (type != 0 && d.spec.DrawingType != type)) continue;
      if (seen++ != index) continue;
      platform::toUseTool(d.spec, tool);
      tool.LineNumber = entry.first;
      return 1;
    }
    return 0;
  }

  static int deleteChartDrawing(int chart, int which, int number) {
    StudyHost& h = host();
    if (which == TOOL_DELETE_ALL) {
      const int removed = h.Ops.RemoveStudyDrawings(&h, chart, -1, 0);
      auto& user_drawn = self().user_drawn_;
      for (auto it = user_drawn.begin(); it != user_drawn.end();) {
        it = self().sim_.drawings().count(*it) == 0 ? user_drawn.erase(it) : std::next(it);
      }
      return removed;
    }
    return h.Ops.RemoveDrawing(&h, chart, number);
  }

  static int deleteUserDrawn(int chart, int number) {
    if (self().sim_.drawings().count(number) == 0) return 0;
    self().user_drawn_.erase(number);
    StudyHost& h = host();
    return h.Ops.RemoveDrawing(&h, chart, number);
  }

  static int& persistentInt(int key) {
    StudyHost& h = host();
    return *h.Ops.StoredInt(&h, key);
  }
  static void setPersistentInt(int key, int value) {
    StudyHost& h = host();
    h.Ops.SetStoredInt(&h, key, value);
  }
  static float& persistentFloat(int key) {
    StudyHost& h = host();
    return *h.Ops.StoredFloat(&h, key);
  }
  static std::int64_t& persistentInt64(int key) {
    StudyHost& h = host();
    return *h.Ops.StoredTime(&h, key);
  }
  static SCDateTime& persistentDateTime(int key) { return self().date_times_[key]; }

  static SCString& persistentText(int key) {
    PlatformRecord& r = self();
    SCString& held = r.texts_[key];
    if (r.texts_used_.insert(key).second) {
      StudyHost& h = host();
      const HostString* text = h.Ops.StoredText(&h, key);
      const char* now = text != nullptr ? text->c_str() : "";
      if (held.Compare(now) != 0) held = now;
    }
    return held;
  }
  static void setPersistentText(int key, const SCString& value) {
    const SCString copy(value.GetChars());
    persistentText(key) = copy.GetChars();
  }

  static void*& persistentPointer(int key) {
    PlatformRecord& r = self();
    if (key == platform::kInstancePointerKey) return r.binding_pointer_;
    void*& held = r.pointers_[key];
    if (r.pointers_used_.insert(key).second) {
      StudyHost& h = host();
      held = h.Ops.StoredPointer(&h, key);
    }
    return held;
  }
  static void setPersistentPointer(int key, void* pointer) {
    persistentPointer(key) = pointer;
    if (key == platform::kInstancePointerKey) return;
    StudyHost& h = host();
    h.Ops.SetStoredPointer(&h, key, pointer);
  }

  static SCDateTime fromChartZone(const SCDateTime& t, const char* zone) {
    StudyHost& h = host();
    return platform::toScDateTime(h.Ops.HostTimeToZone(&h, platform::fromScDateTime(t), zone));
  }
  static SCDateTime toChartZone(const SCDateTime& t, const char* zone) {
    StudyHost& h = host();
    return platform::toScDateTime(h.Ops.ZoneTimeToHost(&h, platform::fromScDateTime(t), zone));
  }
  static int containingIndex(int chart, const SCDateTime& t) {
    StudyHost& h = host();
    return h.Ops.BarIndexAt(&h, chart, platform::fromScDateTime(t));
  }

  static int post(const SCString& url, const SCString& body, const n_ACSIL::s_HTTPHeader* headers,
                  int count) {
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
    PlatformRecord& r = self();
    const std::int32_t id = r.next_request_id_++;
    r.unanswered_.push_back(id);
    return id;
  }
  static int get(const SCString& url) {
    const SCString none;
    return post(url, none, nullptr, 0);
  }

  static int directHttpsGet(const DirectHttpsRequest* request, DirectHttpsResult* result) {
    StudyHost& h = host();
    return h.Ops.DirectHttpsGet != nullptr ? h.Ops.DirectHttpsGet(&h, request, result) : 0;
  }

  static void setCustomStrings(int index, const char* strings) {
    self().options_set_[index] = strings != nullptr ? strings : "";
  }
};

void installPlatformRecordOps(s_sc& sc, s_SCInput_145* inputs, int input_count) noexcept {
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
  sc.StandinDirectHttpsGet = &PlatformOps::directHttpsGet;
  for (int i = 0; i < input_count; ++i)
    inputs[i].InternalSetCustomStrings = &PlatformOps::setCustomStrings;
}

}  // namespace ostrel::sim

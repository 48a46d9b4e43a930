#include "bench/platform_pass_replay.h"

#include <map>
#include <utility>

namespace ostrel::bench {
namespace {

constexpr int kFirstSlot = 8;
constexpr int kLastSlot = 999;

struct Recorder {
  s_sc* sc = nullptr;
  std::vector<PlatformPassReplay::Call>* calls = nullptr;
  int (*use_tool)(s_UseTool&) = nullptr;
  int (*remove)(int, int, int) = nullptr;
  int (*remove_user_drawn)(int, int) = nullptr;
  int& (*get_int)(int) = nullptr;
  void (*set_int)(int, int) = nullptr;
};

thread_local Recorder t_recorder;

int recordUseTool(s_UseTool& tool) {
  PlatformPassReplay::Call call;
  call.kind = PlatformPassReplay::Kind::kUseTool;
  call.tool = tool;
  const int result = t_recorder.use_tool(tool);
  call.number = result > 0 ? tool.LineNumber : 0;
  t_recorder.calls->push_back(call);
  return result;
}

int recordDelete(int chart, int which, int line) {
  PlatformPassReplay::Call call;
  call.kind = PlatformPassReplay::Kind::kDelete;
  call.a = chart;
  call.b = which;
  call.c = line;
  t_recorder.calls->push_back(call);
  return t_recorder.remove(chart, which, line);
}

int recordDeleteUserDrawn(int chart, int line) {
  PlatformPassReplay::Call call;
  call.kind = PlatformPassReplay::Kind::kDeleteUserDrawn;
  call.a = chart;
  call.c = line;
  t_recorder.calls->push_back(call);
  return t_recorder.remove_user_drawn(chart, line);
}

int& recordGetInt(int key) {
  PlatformPassReplay::Call call;
  call.kind = PlatformPassReplay::Kind::kGetInt;
  call.a = key;
  t_recorder.calls->push_back(call);
  return t_recorder.get_int(key);
}

void recordSetInt(int key, int value) {
  PlatformPassReplay::Call call;
  call.kind = PlatformPassReplay::Kind::kSetInt;
  call.a = key;
  call.b = value;
  t_recorder.calls->push_back(call);
  t_recorder.set_int(key, value);
}

}  // namespace

std::vector<PlatformPassReplay::Call> PlatformPassReplay::record(s_sc& sc, void (*pass)(void*),
                                                                 void* context) {
  std::vector<Call> calls;
  t_recorder = Recorder{&sc,
                        &calls,
                        sc.Internal_UseDrawingTool,
                        sc.DeleteACSChartDrawing,
                        sc.DeleteUserDrawnACSDrawing,
                        sc.GetPersistentInt,
                        sc.SetPersistentInt};
  sc.Internal_UseDrawingTool = &recordUseTool;
  sc.DeleteACSChartDrawing = &recordDelete;
  sc.DeleteUserDrawnACSDrawing = &recordDeleteUserDrawn;
  sc.GetPersistentInt = &recordGetInt;
  sc.SetPersistentInt = &recordSetInt;
  pass(context);
  sc.Internal_UseDrawingTool = t_recorder.use_tool;
  sc.DeleteACSChartDrawing = t_recorder.remove;
  sc.DeleteUserDrawnACSDrawing = t_recorder.remove_user_drawn;
  sc.GetPersistentInt = t_recorder.get_int;
  sc.SetPersistentInt = t_recorder.set_int;
  t_recorder = Recorder{};
  return calls;
}

PlatformPassReplay::PlatformPassReplay(const std::vector<Call>& earlier,
                                       const std::vector<Call>& pass) {
  std::map<int, int> earlier_placements;  // number -> placement index
  int index = 0;
  for (const Call& c : earlier) {
    if (c.kind != Kind::kUseTool) continue;
    if (c.number > 0) earlier_placements[c.number] = index;
    ++index;
  }
  std::map<int, int> own;
  const auto ref = [&](int number, Ref& r) {
    const auto mine = own.find(number);
    if (mine != own.end()) {
      r = Ref::kCurrent;
      return mine->second;
    }
    const auto before = earlier_placements.find(number);
    if (before != earlier_placements.end()) {
      r = Ref::kPrevious;
      return before->second;
    }
    r = Ref::kRaw;
    return number;
  };
  for (const Call& c : pass) {
    Step step{c.kind, Ref::kRaw, c.a, c.b, 0, -1};
    switch (c.kind) {
      case Kind::kUseTool:
        step.value = c.tool.LineNumber > 0 ? ref(c.tool.LineNumber, step.ref) : c.tool.LineNumber;
        step.placement = static_cast<int>(tools_.size());
        if (c.number > 0) own[c.number] = step.placement;
        tools_.push_back(c.tool);
        break;
      case Kind::kDelete:
      case Kind::kDeleteUserDrawn: step.value = ref(c.c, step.ref); break;
      case Kind::kSetInt:  // only the drawing slots hold drawing numbers
        step.value = c.a >= kFirstSlot && c.a <= kLastSlot && c.b > 0 ? ref(c.b, step.ref) : c.b;
        break;
      case Kind::kGetInt: break;
      case Kind::kOther: replayable_ = false; break;
    }
    steps_.push_back(step);
  }
  previous_.assign(static_cast<std::size_t>(index), 0);
  current_.assign(tools_.size(), 0);
}

int PlatformPassReplay::resolve(Ref ref, int value) const noexcept {
  switch (ref) {
    case Ref::kPrevious:
      return static_cast<std::size_t>(value) < previous_.size() ? previous_[value] : 0;
    case Ref::kCurrent:
      return static_cast<std::size_t>(value) < current_.size() ? current_[value] : 0;
    case Ref::kRaw: break;
  }
  return value;
}

void PlatformPassReplay::run(s_sc& sc) {
  for (const Step& s : steps_) {
    switch (s.kind) {
      case Kind::kUseTool: {
        s_UseTool tool = tools_[static_cast<std::size_t>(s.placement)];
        if (s.value > 0) tool.LineNumber = resolve(s.ref, s.value);
        current_[static_cast<std::size_t>(s.placement)] =
            sc.UseTool(tool) > 0 ? tool.LineNumber : 0;
        break;
      }
      case Kind::kDelete: sc.DeleteACSChartDrawing(s.a, s.b, resolve(s.ref, s.value)); break;
      case Kind::kDeleteUserDrawn:
        sc.DeleteUserDrawnACSDrawing(s.a, resolve(s.ref, s.value));
        break;
      case Kind::kGetInt: {
        int& slot = sc.GetPersistentInt(s.a);
        static_cast<void>(slot);
        break;
      }
      case Kind::kSetInt: sc.SetPersistentInt(s.a, resolve(s.ref, s.value)); break;
      case Kind::kOther: break;
    }
  }
  // This round's placements are what the next round removes.
  previous_.assign(current_.begin(), current_.end());
}

}  // namespace ostrel::bench

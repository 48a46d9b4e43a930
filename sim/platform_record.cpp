#include "sim/platform_record.h"

#include <cstring>

#include "platform/binding_instance.h"
#include "platform/input_binding.h"
#include "platform/sc_datetime.h"
#include "sim/platform_record_ops.h"

namespace ostrel::sim {
namespace {

// The records alive on this thread, newest first (linked through previous_), and the one whose
// call is running: the platform's operations carry no context.
thread_local PlatformRecord* t_newest = nullptr;
thread_local PlatformRecord* t_calling = nullptr;

constexpr std::size_t kValueBytes = 16;  // the input's value union

}  // namespace

// What a platform input held when the call began, to see what the study changed.
struct PlatformRecord::InputMark {
  unsigned char type = 0;
  std::uint16_t order = 0;
  unsigned char value[kValueBytes] = {};
  int name_writes = 0;
};

PlatformRecord::PlatformRecord(SimHost& sim, PlatformStudyFunction study)
    : sim_(sim),
      study_(study),
      inputs_(new s_SCInput_145[SimHost::kInputCount]),
      subgraphs_(new s_SCSubgraph_260[SimHost::kSubgraphCount]),
      marks_(SimHost::kInputCount) {
  sc_.Input.StandinBind(inputs_.get(), SimHost::kInputCount);
  sc_.Subgraph.StandinBind(subgraphs_.get(), SimHost::kSubgraphCount);
  for (std::int32_t i = 0; i < SimHost::kInputCount; ++i) inputs_[i].InputIndex = i;
  installPlatformRecordOps(sc_, inputs_.get(), SimHost::kInputCount);
  previous_ = t_newest;
  t_newest = this;
}

PlatformRecord::~PlatformRecord() {
  release();
  // Records may end in any order (a chart's study reloaded while another chart's lives on).
  for (PlatformRecord** link = &t_newest; *link != nullptr; link = &(*link)->previous_) {
    if (*link == this) {
      *link = previous_;
      break;
    }
  }
}

StudyFunction PlatformRecord::studyFunction() noexcept { return &PlatformRecord::callThrough; }

PlatformRecord* PlatformRecord::current() noexcept {
  return t_calling != nullptr ? t_calling : t_newest;
}

void PlatformRecord::callThrough(StudyHost& host) {
  PlatformRecord* self = t_newest;
  while (self != nullptr && &self->sim_.host() != &host) self = self->previous_;
  if (self == nullptr || self->study_ == nullptr) return;
  self->call();
}

void PlatformRecord::call() {
  present();
  PlatformRecord* const outer = t_calling;
  t_calling = this;
  in_call_ = true;
  study_(sc_);
  in_call_ = false;
  t_calling = outer;
  takeBack();
}

void PlatformRecord::release() noexcept {
  if (binding_pointer_ == nullptr) return;
  try {
    StudyHost& h = sim_.host();
    const std::int32_t removal = h.IsRemovalCall;
    h.IsRemovalCall = 1;
    h.IsFullRecalc = 0;
    h.IsSuspended = 0;
    h.IsDefaultsCall = 0;
    sim_.runCall(studyFunction());
    h.IsRemovalCall = removal;
  } catch (...) {
    // A failed removal leaves the binding's state behind; the process is ending the replay.
  }
}

void PlatformRecord::present() {
  const StudyHost& h = sim_.host();
  sc_.SetDefaults = h.IsDefaultsCall;
  sc_.LastCallToFunction = h.IsRemovalCall;
  sc_.HideStudy = h.IsSuspended;
  sc_.IsFullRecalculation = h.IsFullRecalc;
  sc_.ArraySize = h.BarCount;
  if (h.BarTimes != bar_source_ || h.BarCount != bar_source_count_) {
    const std::size_t n =
        h.BarTimes != nullptr && h.BarCount > 0 ? static_cast<std::size_t>(h.BarCount) : 0;
    bar_times_.assign(n, SCDateTime());
    for (std::size_t i = 0; i < n; ++i) bar_times_[i].SetInternalDateTime(h.BarTimes[i]);
    sc_.BaseDateTimeIn.StandinBind(n > 0 ? bar_times_.data() : nullptr, static_cast<int>(n));
    bar_source_ = h.BarTimes;
    bar_source_count_ = h.BarCount;
  }
  sc_.UpdateStartIndex = h.RecalcFromBar;
  sc_.ChartNumber = h.ChartId;
  sc_.TickSize = h.PriceTick;
  sc_.CurrentSystemDateTime = platform::toScDateTime(h.CurrentTime);
  sc_.CurrentSystemDateTimeMS = sc_.CurrentSystemDateTime;
  sc_.CurrentDateTimeForReplay = platform::toScDateTime(h.AltClockTime);
  sc_.ReplayStatus = h.UseAltClock != 0 ? 1 : 0;
  sc_.ACSVersion = h.InterfaceVersion;
  sc_.EarliestUpdateSubgraphDataArrayIndex = h.EarliestChangedBar;
  if (sc_.GraphName.Compare(h.StudyTitle.c_str()) != 0) sc_.GraphName = h.StudyTitle.c_str();
  sc_.GraphRegion = h.RegionSetting;
  sc_.AutoLoop = h.LoopModeSetting;
  sc_.UpdateAlways = h.AlwaysCallSetting;

  sc_.HTTPRequestID = 0;
  if (h.ResponseReady != 0) {
    if (!unanswered_.empty()) {
      sc_.HTTPRequestID = unanswered_.front();
      unanswered_.pop_front();
    }
    sc_.HTTPResponse = h.ResponseText != nullptr ? h.ResponseText : "";
  } else if (sc_.HTTPResponse.GetLength() != 0) {
    sc_.HTTPResponse = "";
  }
  texts_used_.clear();
  pointers_used_.clear();
  options_set_.clear();
  presentInputs();
  presentSubgraphs();
}

void PlatformRecord::presentInputs() {
  StudyHost& h = sim_.host();
  for (std::int32_t i = 0; i < SimHost::kInputCount && i < h.InputCount; ++i) {
    const StudyInput& from = h.Inputs[i];
    s_SCInput_145& to = inputs_[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    if (from.type == InputType::kText) {
      const char* text = from.has_text != 0 ? from.text.c_str() : "";
      const char* held = to.ValueType == STRING_VALUE ? to.StringValue : nullptr;
      if (to.ValueType != STRING_VALUE || std::strcmp(held != nullptr ? held : "", text) != 0) {
        to.SetString(text);
      }
    } else if (from.type == InputType::kNone) {
      if (to.ValueType != 0) {
        to.SetInt(0);
        to.ValueType = 0;
      }
    } else {
      platform::writeInputValue(from, to);
    }
    to.DisplayOrder = static_cast<std::uint16_t>(from.display_position);
    InputMark& mark = marks_[static_cast<std::size_t>(i)];
    mark.type = to.ValueType;
    mark.order = to.DisplayOrder;
    std::memcpy(mark.value, &to.DateTimeValue, kValueBytes);
    mark.name_writes = to.Name.StandinAssignments;
  }
}

void PlatformRecord::presentSubgraphs() {
  StudyHost& h = sim_.host();
  for (std::int32_t i = 0; i < SimHost::kSubgraphCount && i < h.SubgraphCount; ++i) {
    const Subgraph& from = h.Subgraphs[i];
    s_SCSubgraph_260& to = subgraphs_[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    to.PrimaryColor = from.primary_colour;
    to.DrawStyle = static_cast<std::uint16_t>(from.draw_style);
    to.LineWidth = static_cast<std::uint16_t>(from.line_width);
    to.LineStyle = static_cast<SubgraphLineStyles>(from.third_style);
    to.Data.StandinBind(from.values, from.value_count);
    to.DataColor.StandinBind(from.colours, from.colour_count);
  }
}

void PlatformRecord::takeBack() {
  StudyHost& h = sim_.host();
  h.RecalcFromBar = sc_.UpdateStartIndex;
  h.EarliestChangedBar = sc_.EarliestUpdateSubgraphDataArrayIndex;
  if (!(h.StudyTitle == sc_.GraphName.GetChars())) h.StudyTitle.assign(sc_.GraphName.GetChars());
  h.RegionSetting = sc_.GraphRegion;
  h.LoopModeSetting = sc_.AutoLoop;
  h.AlwaysCallSetting = sc_.UpdateAlways;
  takeBackInputs();
  takeBackSubgraphs();
  for (std::int32_t key : texts_used_) {
    HostString* text = h.Ops.StoredText(&h, key);
    const char* held = texts_[key].GetChars();
    if (text != nullptr && !(*text == held)) text->assign(held);
  }
  for (std::int32_t key : pointers_used_) {
    void* held = pointers_[key];
    if (h.Ops.StoredPointer(&h, key) != held) h.Ops.SetStoredPointer(&h, key, held);
  }
}

void PlatformRecord::takeBackInputs() {
  StudyHost& h = sim_.host();
  for (std::int32_t i = 0; i < SimHost::kInputCount && i < h.InputCount; ++i) {
    s_SCInput_145& from = inputs_[i];
    StudyInput& to = h.Inputs[i];
    const InputMark& mark = marks_[static_cast<std::size_t>(i)];
    const auto options = options_set_.find(i);
    if (options != options_set_.end()) to.setOptions(options->second.c_str());
    if (from.Name.StandinAssignments != mark.name_writes) to.name.assign(from.Name.GetChars());
    to.display_position = from.DisplayOrder;
    if (from.ValueType != mark.type ||
        std::memcmp(mark.value, &from.DateTimeValue, kValueBytes) != 0) {
      platform::readInput(from, to);
    }
  }
}

void PlatformRecord::takeBackSubgraphs() {
  StudyHost& h = sim_.host();
  for (std::int32_t i = 0; i < SimHost::kSubgraphCount && i < h.SubgraphCount; ++i) {
    const s_SCSubgraph_260& from = subgraphs_[i];
    Subgraph& to = h.Subgraphs[i];
    if (!(to.name == from.Name.GetChars())) to.name.assign(from.Name.GetChars());
    to.primary_colour = from.PrimaryColor;
    to.draw_style = from.DrawStyle;
    to.line_width = from.LineWidth;
    to.third_style = from.LineStyle;
  }
}

}  // namespace ostrel::sim

#include "sim/platform_record.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "sim/allocation_faults.h"
#include "sim/platform_record_ops.h"
#include "sim/platform_record_state.h"

// The SDK declares these and leaves their definitions to the platform, which this simulator
// plays. The text class's limit is used by inline code of the SDK (std::min takes it by
// reference), so a build without optimisation needs its one definition.
s_sc::s_sc() = default;
const int SCString::MAX_LENGTH;

namespace ostrel::sim {
namespace {

// The records alive on this thread, newest first (linked through previous_), and the one whose
// call is running: the platform's operations carry no context.
thread_local PlatformRecord* t_newest = nullptr;
thread_local PlatformRecord* t_calling = nullptr;

SCDateTime toPlatformTime(DateTime t) { return SCDateTime::MICROSECONDS(t); }

std::uint16_t toPlatform16(std::int32_t value) {
  return static_cast<std::uint16_t>(value < 0 ? 0 : (value > 65535 ? 65535 : value));
}

}  // namespace

PlatformRecord::State::State(SimHost& host)
    : sim(host),
      inputs(new s_SCInput_145[SimHost::kInputCount]()),
      subgraphs(new s_SCSubgraph_260[SimHost::kSubgraphCount]()),
      marks(SimHost::kInputCount) {
  void* storage = std::calloc(1, sizeof(s_sc));
  if (storage == nullptr) throw std::bad_alloc();
  sc = new (storage) s_sc;
  sc->Input.InternalSetArray(inputs.get(), SimHost::kInputCount);
  sc->Subgraph.InternalSetArray(subgraphs.get(), SimHost::kSubgraphCount);
  for (std::int32_t i = 0; i < SimHost::kInputCount; ++i) inputs[i].InputIndex = i;
  installPlatformRecordOps(*sc, inputs.get(), SimHost::kInputCount);
}

PlatformRecord::State::~State() {
  for (std::int32_t i = 0; i < SimHost::kInputCount; ++i) inputs[i].ClearString();
  sc->~s_sc();
  std::free(sc);
}

PlatformRecord::PlatformRecord(SimHost& sim, PlatformStudyFunction study)
    : sim_(sim), study_(study), state_(new State(sim)) {
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

s_sc& PlatformRecord::record() noexcept { return *state_->sc; }

bool PlatformRecord::holdsBindingState() const noexcept {
  return state_->binding_pointer != nullptr;
}

std::size_t PlatformRecord::unansweredRequests() const noexcept {
  return state_->unanswered.size();
}

PlatformRecord* PlatformRecord::current() noexcept {
  return t_calling != nullptr ? t_calling : t_newest;
}

void PlatformRecord::callThrough(StudyHost& host) {
  PlatformRecord* self = t_newest;
  while (self != nullptr && &self->sim_.host() != &host) self = self->previous_;
  if (self == nullptr || self->study_ == nullptr) return;
  self->call();
}

// Only the study's own part of the call counts towards allocation faults: presenting the record
// and taking it back are the platform's work.
void PlatformRecord::call() {
  {
    const HostCallScope host_side;
    state_->present();
  }
  PlatformRecord* const outer = t_calling;
  t_calling = this;
  {
    const StudyCallScope study_side;
    study_(*state_->sc);
  }
  t_calling = outer;
  const HostCallScope host_side;
  state_->takeBack();
}

void PlatformRecord::release() noexcept {
  if (state_->binding_pointer == nullptr) return;
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

void PlatformRecord::State::present() {
  const StudyHost& h = sim.host();
  s_sc& r = *sc;
  r.SetDefaults = h.IsDefaultsCall;
  r.LastCallToFunction = h.IsRemovalCall;
  r.HideStudy = h.IsSuspended;
  r.IsFullRecalculation = h.IsFullRecalc;
  r.ArraySize = h.BarCount;
  if (h.BarTimes != bar_source || h.BarCount != bar_source_count) {
    const std::size_t n =
        h.BarTimes != nullptr && h.BarCount > 0 ? static_cast<std::size_t>(h.BarCount) : 0;
    bar_times.assign(n, SCDateTime());
    for (std::size_t i = 0; i < n; ++i) bar_times[i].SetInternalDateTime(h.BarTimes[i]);
    r.BaseDateTimeIn.InternalSetArray(n > 0 ? bar_times.data() : nullptr, static_cast<int>(n));
    bar_source = h.BarTimes;
    bar_source_count = h.BarCount;
  }
  r.UpdateStartIndex = h.RecalcFromBar;
  r.ChartNumber = h.ChartId;
  r.TickSize = h.PriceTick;
  r.CurrentSystemDateTime = toPlatformTime(h.CurrentTime);
  r.CurrentSystemDateTimeMS = r.CurrentSystemDateTime;
  r.CurrentDateTimeForReplay = toPlatformTime(h.AltClockTime);
  r.ReplayStatus = h.UseAltClock != 0 ? 1 : 0;
  r.ACSVersion = h.InterfaceVersion;
  r.EarliestUpdateSubgraphDataArrayIndex = h.EarliestChangedBar;
  if (r.GraphName.Compare(h.StudyTitle.c_str()) != 0) r.GraphName = h.StudyTitle.c_str();
  r.GraphRegion = h.RegionSetting;
  r.AutoLoop = h.LoopModeSetting;
  r.UpdateAlways = h.AlwaysCallSetting;

  r.HTTPRequestID = 0;
  if (h.ResponseReady != 0) {
    if (!unanswered.empty()) {
      r.HTTPRequestID = unanswered.front();
      unanswered.pop_front();
    }
    r.HTTPResponse = h.ResponseText != nullptr ? h.ResponseText : "";
  } else if (r.HTTPResponse.GetLength() != 0) {
    r.HTTPResponse = "";
  }
  texts_used.clear();
  pointers_used.clear();
  options_set.clear();
  presentInputs();
  presentSubgraphs();
}

void PlatformRecord::State::presentSubgraphs() {
  StudyHost& h = sim.host();
  for (std::int32_t i = 0; i < SimHost::kSubgraphCount && i < h.SubgraphCount; ++i) {
    const Subgraph& from = h.Subgraphs[i];
    s_SCSubgraph_260& to = subgraphs[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    to.PrimaryColor = from.primary_colour;
    to.DrawStyle = toPlatform16(from.draw_style);
    to.LineWidth = toPlatform16(from.line_width);
    to.LineStyle = static_cast<SubgraphLineStyles>(
        from.third_style < -1 ? -1 : (from.third_style > 32767 ? 32767 : from.third_style));
    to.Data.InternalSetArray(from.values, from.values != nullptr ? from.value_count : 0);
    to.DataColor.InternalSetArray(from.colours, from.colours != nullptr ? from.colour_count : 0);
  }
}

void PlatformRecord::State::takeBack() {
  StudyHost& h = sim.host();
  const s_sc& r = *sc;
  h.RecalcFromBar = r.UpdateStartIndex;
  h.EarliestChangedBar = r.EarliestUpdateSubgraphDataArrayIndex;
  if (!(h.StudyTitle == r.GraphName.GetChars())) h.StudyTitle.assign(r.GraphName.GetChars());
  h.RegionSetting = r.GraphRegion;
  h.LoopModeSetting = r.AutoLoop;
  h.AlwaysCallSetting = r.UpdateAlways;
  takeBackInputs();
  takeBackSubgraphs();
  for (std::int32_t key : texts_used) {
    HostString* text = h.Ops.StoredText(&h, key);
    const char* held = texts[key].GetChars();
    if (text != nullptr && !(*text == held)) text->assign(held);
  }
  for (std::int32_t key : pointers_used) {
    void* held = pointers[key];
    if (h.Ops.StoredPointer(&h, key) != held) h.Ops.SetStoredPointer(&h, key, held);
  }
}

void PlatformRecord::State::takeBackSubgraphs() {
  StudyHost& h = sim.host();
  for (std::int32_t i = 0; i < SimHost::kSubgraphCount && i < h.SubgraphCount; ++i) {
    const s_SCSubgraph_260& from = subgraphs[i];
    Subgraph& to = h.Subgraphs[i];
    if (!(to.name == from.Name.GetChars())) to.name.assign(from.Name.GetChars());
    to.primary_colour = from.PrimaryColor;
    to.draw_style = from.DrawStyle;
    to.line_width = from.LineWidth;
    to.third_style = from.LineStyle;
  }
}

}  // namespace ostrel::sim

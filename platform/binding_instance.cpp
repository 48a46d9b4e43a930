#include "platform/binding_instance.h"

#include <algorithm>
#include <cstring>

#include "host/out_of_memory.h"
#include "platform/host_operations.h"
#include "platform/sc_datetime.h"
#include "study/study_entry.h"

namespace ostrel::platform {
namespace {

static_assert(sizeof(int) == sizeof(std::int32_t), "stored ints are handed over by reference");
static_assert(sizeof(SCDateTime) == sizeof(DateTime), "an SCDateTime is one 64-bit count");
static_assert(kPresentedInputs <= InputMarks::kMaxInputs, "every presented input is marked");

std::int32_t parseVersion(const char* text) noexcept {
  while (*text != '\0' && (*text < '0' || *text > '9')) ++text;
  if (*text == '\0') return kFallbackHostBuild;
  std::int32_t value = 0;
  for (int digits = 0; *text >= '0' && *text <= '9' && digits < 9; ++text, ++digits) {
    value = value * 10 + (*text - '0');
  }
  return value;
}

constexpr const char* kInputsLost =
    "Ostrel: out of memory; the chart's settings could not be read. This update was skipped; "
    "the next one recalculates.";
constexpr const char* kInputsUnread =
    "Ostrel: out of memory; some of the chart's settings could not be read. This call (removal, "
    "hiding or defaults) does not use them.";
constexpr const char* kStoredTextLost =
    "Ostrel: out of memory; a stored text could not be read or kept.";

std::uint16_t toUint16(std::int32_t value) noexcept {
  return static_cast<std::uint16_t>(value < 0 ? 0 : (value > 65535 ? 65535 : value));
}

}  // namespace

bool scStringHolds(const SCString& text, const char* expected) noexcept {
  return static_cast<std::size_t>(text.GetLength()) == std::strlen(expected);
}

BindingInstance::BindingInstance() noexcept {
  host_.Inputs = inputs_;
  host_.InputCount = kPresentedInputs;
  host_.Subgraphs = subgraphs_;
  host_.SubgraphCount = kPresentedSubgraphs;
  host_.HostContext = this;
  installPlatformOps(host_.Ops);
}

void BindingInstance::runStep(s_sc& sc, void (*step)(StudyHost&, void*), void* context) noexcept {
  sc_ = &sc;
  host_.Ops.DirectHttpsGet = platformDirectHttpsGet(sc);
  if (attach(sc)) {
    presentFields(sc);
    const bool inputs_read = readInputs(sc, inputs_, marks_, kPresentedInputs);
    presentSubgraphs(sc);
    takeAnswer(sc);
    // Removal and hiding need no text; any other call would run on a text that is not the
    // chart's, so it is skipped, and the recalculation owed restarts what it may have left.
    const bool ordinary =
        host_.IsDefaultsCall == 0 && host_.IsRemovalCall == 0 && host_.IsSuspended == 0;
    if (!inputs_read && ordinary) {
      recalc_owed_ = true;
      memoryShort(kInputsLost);
    } else {
      if (!inputs_read) memoryShort(kInputsUnread);
      if (ordinary && recalc_owed_) {
        host_.IsFullRecalc = 1;
        recalc_owed_ = false;
      }
      const std::int32_t recalc_from = host_.RecalcFromBar;
      const std::int32_t earliest = host_.EarliestChangedBar;
      if (step != nullptr) {
        step(host_, context);
      } else {
        studyFunction(host_);
      }
      writeBack(sc, recalc_from, earliest);
    }
  }
  if (memory_short_ != nullptr && sc.p_AddMessageToLog != nullptr) {
    sc.AddMessageToLog(memory_short_, 1);
  }
  memory_short_ = nullptr;
  host_.ResponseReady = 0;
  host_.ResponseText = nullptr;
  sc_ = nullptr;
}

bool BindingInstance::attach(s_sc& sc) noexcept {
  // An element access makes the platform allocate an array it has not allocated yet; one that
  // is allocated needs none.
  if (sc.Input.GetPointer() == nullptr) sc.Input.ElementAt(kPresentedInputs - 1);
  if (sc.Subgraph.GetPointer() == nullptr) sc.Subgraph.ElementAt(kPresentedSubgraphs - 1);
  const int inputs = sc.Input.GetArraySize();
  const int subgraphs = sc.Subgraph.GetArraySize();
  if (inputs >= kPresentedInputs && subgraphs >= kPresentedSubgraphs) return true;
  if (!refusal_logged_ && sc.p_AddMessageToLog != nullptr) {
    const HostString line = formatHostString(
        "Ostrel: the chart gave the study %d inputs and %d subgraphs; it needs %d and %d. "
        "The study does nothing.",
        inputs, subgraphs, kPresentedInputs, kPresentedSubgraphs);
    sc.AddMessageToLog(line.c_str(), 1);
  }
  refusal_logged_ = true;
  return false;
}

void BindingInstance::presentFields(s_sc& sc) noexcept {
  StudyHost& h = host_;
  h.IsDefaultsCall = sc.SetDefaults != 0 && sc.LastCallToFunction == 0 ? 1 : 0;
  h.IsRemovalCall = sc.LastCallToFunction != 0 ? 1 : 0;
  h.IsSuspended = sc.HideStudy != 0 ? 1 : 0;
  h.IsFullRecalc = sc.IsFullRecalculation != 0 ? 1 : 0;
  const std::int32_t bars = sc.ArraySize > 0 ? sc.ArraySize : 0;
  h.BarCount = bars;
  h.BarTimes = nullptr;
  if (bars > 0) {
    if (sc.BaseDateTimeIn.GetPointer() == nullptr) sc.BaseDateTimeIn.ElementAt(0);
    const SCDateTime* times = sc.BaseDateTimeIn.GetPointer();
    if (times != nullptr && sc.BaseDateTimeIn.GetArraySize() >= bars) {
      h.BarTimes = reinterpret_cast<const DateTime*>(times);  // NOLINT: same representation
    }
  }
  h.RecalcFromBar = sc.UpdateStartIndex;
  h.CurrentBarIndex = bars - 1;
  h.ChartId = sc.ChartNumber;
  h.PriceTick = sc.TickSize;
  h.CurrentTime = fromScDateTime(sc.CurrentSystemDateTime);
  h.ClockTime = h.CurrentTime;
  h.AltClockTime = fromScDateTime(sc.CurrentDateTimeForReplay);
  h.UseAltClock = sc.ReplayStatus != 0 ? 1 : 0;
  if (!host_build_read_) {
    host_build_ = kFallbackHostBuild;
    if (sc.VersionNumber != nullptr) {
      const SCString version = sc.VersionNumber();
      host_build_ = parseVersion(version.GetChars());
    }
    host_build_read_ = true;
  }
  h.HostBuild = host_build_;
  h.EarliestChangedBar = sc.EarliestUpdateSubgraphDataArrayIndex;
  if (h.IsDefaultsCall != 0) {
    // The title and the names are not presented: the core declares every one of them.
    h.RegionSetting = sc.GraphRegion;
    h.LoopModeSetting = sc.AutoLoop;
    h.AlwaysCallSetting = sc.UpdateAlways;
  }
}

void BindingInstance::presentSubgraphs(s_sc& sc) noexcept {
  // attach() made sure the array holds kPresentedSubgraphs; index it directly.
  s_SCSubgraph_260* all = sc.Subgraph.GetPointer();
  if (all == nullptr) {
    for (Subgraph& to : subgraphs_) {
      to.values = nullptr;
      to.value_count = 0;
      to.colours = nullptr;
      to.colour_count = 0;
    }
    return;
  }
  const bool bars = sc.ArraySize > 0;
  for (std::int32_t i = 0; i < kPresentedSubgraphs; ++i) {
    s_SCSubgraph_260& from = all[i];
    Subgraph& to = subgraphs_[i];
    // The core writes straight into the platform's arrays, which it may have moved or resized
    // since the last call: they are taken again every call.
    float* values = from.Data.GetPointer();
    std::uint32_t* colours = from.DataColor.GetPointer();
    if ((values == nullptr || colours == nullptr) && bars) {
      if (values == nullptr) from.Data.ElementAt(0);
      if (colours == nullptr) from.DataColor.ElementAt(0);
      values = from.Data.GetPointer();
      colours = from.DataColor.GetPointer();
    }
    to.values = values;
    to.value_count = values != nullptr ? from.Data.GetArraySize() : 0;
    to.colours = colours;
    to.colour_count = colours != nullptr ? from.DataColor.GetArraySize() : 0;
  }
  if (host_.IsDefaultsCall == 0) return;
  for (std::int32_t i = 0; i < kPresentedSubgraphs; ++i) {
    const s_SCSubgraph_260& from = all[i];
    Subgraph& to = subgraphs_[i];
    to.primary_colour = from.PrimaryColor;
    to.draw_style = from.DrawStyle;
    to.line_width = from.LineWidth;
    to.third_style = from.LineStyle;
  }
}

void BindingInstance::takeAnswer(s_sc& sc) noexcept {
  host_.ResponseReady = 0;
  host_.ResponseText = nullptr;
  const std::int32_t id = sc.HTTPRequestID;
  // Only the answer to the request the core waits for reaches it; any other (one the core gave
  // up, say at a full recalculation) is dropped, so it cannot pass for the newer request's.
  if (id == 0 || id != pending_request_) return;
  pending_request_ = 0;
  host_.ResponseReady = 1;
  host_.ResponseText = sc.HTTPResponse.GetChars();
}

void BindingInstance::writeBack(s_sc& sc, std::int32_t recalc_from,
                                std::int32_t earliest) noexcept {
  if (host_.IsDefaultsCall != 0) {
    writeDefaults(sc);
  } else {
    writeChangedInputs(sc, inputs_, marks_, kPresentedInputs);
  }
  if (host_.RecalcFromBar != recalc_from) sc.UpdateStartIndex = host_.RecalcFromBar;
  if (host_.EarliestChangedBar != earliest) {
    sc.EarliestUpdateSubgraphDataArrayIndex = host_.EarliestChangedBar;
  }
  writeStoredTexts(sc);
}

void BindingInstance::writeDefaults(s_sc& sc) noexcept {
  if (sc.GraphName.Compare(host_.StudyTitle.c_str()) != 0) sc.GraphName = host_.StudyTitle.c_str();
  bool complete = scStringHolds(sc.GraphName, host_.StudyTitle.c_str());
  sc.GraphRegion = host_.RegionSetting;
  sc.AutoLoop = host_.LoopModeSetting;
  sc.UpdateAlways = host_.AlwaysCallSetting;
  if (!writeDeclaredInputs(sc, inputs_, kPresentedInputs)) complete = false;
  for (std::int32_t i = 0; i < kPresentedSubgraphs; ++i) {
    const Subgraph& from = subgraphs_[i];
    s_SCSubgraph_260& to = sc.Subgraph[i];
    if (to.Name.Compare(from.name.c_str()) != 0) to.Name = from.name.c_str();
    if (!scStringHolds(to.Name, from.name.c_str())) complete = false;
    to.PrimaryColor = from.primary_colour;
    to.DrawStyle = toUint16(from.draw_style);
    to.LineWidth = toUint16(from.line_width);
    // Our third attribute is the line style (1: dashed) of the level lines.
    to.LineStyle = static_cast<SubgraphLineStyles>(
        from.third_style < -1 ? -1 : (from.third_style > 32767 ? 32767 : from.third_style));
  }
  if (!complete) memoryShort(kSettingNamesLost);
}

HostString* BindingInstance::storedText(std::int32_t key) noexcept {
  if (sc_ == nullptr || sc_->GetPersistentSCString == nullptr) return nullptr;
  StoredTextCopy* entry = nullptr;
  for (std::int32_t i = 0; i < text_count_; ++i) {
    if (texts_[i].key == key) entry = &texts_[i];
  }
  if (entry == nullptr) {
    if (text_count_ == kStoredTextKeys) return nullptr;
    entry = &texts_[text_count_++];
    entry->key = key;
  }
  if (!entry->used) {
    const char* held = sc_->GetPersistentSCString(key).GetChars();
    if (!(entry->text == held)) entry->text.assign(held);
    if (!(entry->text == held)) memoryShort(kStoredTextLost);
    entry->used = true;
  }
  return &entry->text;
}

void BindingInstance::writeStoredTexts(s_sc& sc) noexcept {
  for (std::int32_t i = 0; i < text_count_; ++i) {
    StoredTextCopy& entry = texts_[i];
    if (!entry.used) continue;
    entry.used = false;
    SCString& held = sc.GetPersistentSCString(entry.key);
    if (held.Compare(entry.text.c_str()) == 0) continue;
    if (sc.SetPersistentSCString != nullptr) {
      sc.SetPersistentSCString(entry.key, SCString(entry.text.c_str()));
    } else {
      held = entry.text.c_str();
    }
    if (!scStringHolds(sc.GetPersistentSCString(entry.key), entry.text.c_str())) {
      memoryShort(kStoredTextLost);
    }
  }
}

void BindingInstance::noteUserDrawn(std::int32_t number, std::int32_t type) {
  const UserDrawnDrawing drawing{number, type};
  if (user_drawn_.empty() || user_drawn_.back().number < number) {
    user_drawn_.push_back(drawing);
    return;
  }
  auto at =
      std::lower_bound(user_drawn_.begin(), user_drawn_.end(), number,
                       [](const UserDrawnDrawing& d, std::int32_t n) { return d.number < n; });
  if (at != user_drawn_.end() && at->number == number) {
    at->type = type;
  } else {
    user_drawn_.insert(at, drawing);
  }
}

bool BindingInstance::isUserDrawn(std::int32_t number) const noexcept {
  return std::binary_search(
      user_drawn_.begin(), user_drawn_.end(), UserDrawnDrawing{number, 0},
      [](const UserDrawnDrawing& a, const UserDrawnDrawing& b) { return a.number < b.number; });
}

void BindingInstance::forgetUserDrawn(std::int32_t number) noexcept {
  auto at =
      std::lower_bound(user_drawn_.begin(), user_drawn_.end(), number,
                       [](const UserDrawnDrawing& d, std::int32_t n) { return d.number < n; });
  if (at != user_drawn_.end() && at->number == number) user_drawn_.erase(at);
}

}  // namespace ostrel::platform

// BindingInstance: the platform's study record presented to the unchanged core as a StudyHost.
//
// One instance per study instance of the platform, kept between calls behind the persistent
// pointer kInstancePointerKey (the platform frees nothing behind it; runPlatformCall frees it on
// the last call). It holds the StudyHost record, the 110 input slots and 19 subgraphs that the
// core sees, the binding's copies of stored texts, the id of the request the core waits for, the
// study's user-drawn drawings and the platform's version number. Nothing is global: the
// operations reach their instance through StudyHost::HostContext and the platform's record
// through record(), which is valid only during a call.
//
// Choices where the platform leaves one (also in docs/architecture.md):
// - CurrentTime and ClockTime are CurrentSystemDateTime (the chart's zone). AltClockTime is
//   CurrentDateTimeForReplay, and UseAltClock is set while a replay runs or is paused
//   (ReplayStatus != 0), so that market hours follow the replayed day.
// - IsSuspended is HideStudy: a hidden study removes its drawings, as the SDK's own helpers do.
// - HostBuild is the first number in the platform's version text (read once per instance), all
//   its digits up to nine; SC_DLL_VERSION, the interface version the DLL declares (the platform
//   is at least that), when the text holds none.
// - CurrentBarIndex is ArraySize - 1 (the study loops manually). BarTimes points at the
//   platform's own array (an SCDateTime is one 64-bit count of microseconds, as ours).
// - RecalcFromBar and EarliestChangedBar are written back only when the core changed them.
// - A record with fewer than 110 inputs or 19 subgraphs is refused: the call logs once per
//   instance and does nothing, rather than let the core read clamped slots.
// - Running out of memory in the binding's own texts (an input's text, a stored text, a request's
//   or a drawing's text, a declared name) is noted with memoryShort(); the call ends with one log
//   line (flag 1) saying what was given up. An input text that cannot be presented skips the
//   core for that call, and the next call is presented as a full recalculation, which restarts
//   every request the skipped call may have left waiting.
#pragma once

#include <cstdint>
#include <vector>

#include "host/study_host.h"
#include "platform/input_binding.h"
#include "platform/platform_sdk.h"

namespace ostrel::platform {

// The binding's own persistent pointer; the study's pointer keys (0 and 1) never reach it.
constexpr int kInstancePointerKey = 4001;
constexpr std::int32_t kPresentedInputs = 110;
constexpr std::int32_t kPresentedSubgraphs = 19;
constexpr std::int32_t kFallbackHostBuild = SC_DLL_VERSION;
constexpr std::int32_t kStoredTextKeys = 8;

// True when `text` holds all of `expected`: an SCString assigned less ran out of memory.
bool scStringHolds(const SCString& text, const char* expected) noexcept;

struct StoredTextCopy {
  std::int32_t key = 0;
  bool used = false;  // handed to the core in this call
  HostString text;
};

struct UserDrawnDrawing {
  std::int32_t number = 0;
  std::int32_t type = 0;
};

class BindingInstance {
 public:
  BindingInstance() noexcept;
  BindingInstance(const BindingInstance&) = delete;
  BindingInstance& operator=(const BindingInstance&) = delete;

  // One call: present `sc`, run the core, write back what it changed.
  void run(s_sc& sc) noexcept { runStep(sc, nullptr, nullptr); }
  // The same with `step` in place of the study function (null: the study function), so that a
  // tool can time one part of the core through the binding (bench/).
  void runStep(s_sc& sc, void (*step)(StudyHost& host, void* context), void* context) noexcept;

  s_sc& record() noexcept { return *sc_; }
  StudyHost& host() noexcept { return host_; }

  // The binding's copy of stored text `key`, taken from the platform on first use in a call and
  // written back after it when changed; null beyond kStoredTextKeys keys or without the store.
  HostString* storedText(std::int32_t key) noexcept;

  // The request the core waits for: the last one started (0: none).
  void setPendingRequest(std::int32_t id) noexcept { pending_request_ = id; }
  std::int32_t pendingRequest() const noexcept { return pending_request_; }

  // Drawings placed as user-drawn (the copy settings): the platform's study-drawing operations
  // do not reach them, so the binding records their numbers, in ascending order.
  void noteUserDrawn(std::int32_t number, std::int32_t type);  // may throw std::bad_alloc
  bool isUserDrawn(std::int32_t number) const noexcept;
  void forgetUserDrawn(std::int32_t number) noexcept;

  // Memory ran out for one of the binding's own texts: `given_up` (a fixed text, flag 1) is
  // logged at the end of the call, the first one only.
  void memoryShort(const char* given_up) noexcept {
    if (memory_short_ == nullptr) memory_short_ = given_up;
  }
  // The next ordinary call is presented as a full recalculation (a request refused for want of
  // memory, which the core would otherwise not ask for again until then).
  void oweRecalculation() noexcept { recalc_owed_ = true; }
  std::vector<UserDrawnDrawing>& userDrawn() noexcept { return user_drawn_; }

 private:
  bool attach(s_sc& sc) noexcept;
  void presentFields(s_sc& sc) noexcept;
  void presentSubgraphs(s_sc& sc) noexcept;
  void takeAnswer(s_sc& sc) noexcept;
  void writeBack(s_sc& sc, std::int32_t recalc_from, std::int32_t earliest) noexcept;
  void writeDefaults(s_sc& sc) noexcept;
  void writeStoredTexts(s_sc& sc) noexcept;

  StudyHost host_;
  StudyInput inputs_[kPresentedInputs];
  InputMarks marks_;
  Subgraph subgraphs_[kPresentedSubgraphs];
  // Fixed, so that a text handed to the core never moves within the call; the core uses two.
  StoredTextCopy texts_[kStoredTextKeys];
  std::int32_t text_count_ = 0;
  std::vector<UserDrawnDrawing> user_drawn_;
  s_sc* sc_ = nullptr;
  std::int32_t pending_request_ = 0;
  std::int32_t host_build_ = 0;
  bool host_build_read_ = false;
  bool refusal_logged_ = false;
  bool recalc_owed_ = false;
  const char* memory_short_ = nullptr;
};

}  // namespace ostrel::platform

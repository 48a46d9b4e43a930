#include "fuzz/platform_entry_target.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "fuzz/op_reader.h"
#include "fuzz/platform_arrays.h"
#include "fuzz/platform_entry_checks.h"
#include "fuzz/record_overrides.h"
#include "host/time_units.h"
#include "platform/platform_sdk.h"
#include "sim/platform_record.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"

extern "C" void scsf_OstrelLevels(s_sc& sc);  // platform/platform_exports.cpp

namespace ostrel::fuzz {
namespace {

constexpr DateTime kBase = 3985320600000000;  // 2026-04-14 09:30:00
constexpr const char* kApiKey = "fz-key-7Qx2Kp4Wm9Rt";
constexpr int kMaxCalls = 48;
constexpr int kMaxOps = 512;
constexpr std::int32_t kMaxBars = 2000;
constexpr std::size_t kMaxText = 4096;
constexpr std::size_t kMaxAnswer = 8192;
constexpr std::int32_t kPresentedInputs = 110;
constexpr std::int32_t kPresentedSubgraphs = 19;

enum CallFlag : std::uint8_t {
  kFullRecalc = 1,
  kLastCall = 2,
  kHidden = 4,
  kDefaults = 8,
  kRequestRefused = 16,
  kDrawingsRefused = 32,
  kStickyFind = 64,
  kReplayClock = 128,
};

std::int32_t clampToInt32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

DateTime fromBase(std::int32_t seconds) {
  return kBase + static_cast<DateTime>(seconds) * kMicrosPerSecond;
}

class Driver;
thread_local Driver* t_driver = nullptr;

class Driver {
 public:
  Driver()
      : platform_(std::make_unique<sim::PlatformRecord>(sim_, &hookedStudy)),
        checks_(kApiKey, addUserDrawing(sim_)) {
    StudyHost& h = sim_.host();
    sim_.setBars(kBase, kMicrosPerMinute, 60);
    h.CurrentTime = h.ClockTime = h.AltClockTime = fromBase(3600);
  }
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;
  // A record whose binding still holds the instance makes a last call of its own as it ends,
  // which must still find this driver and its arrays.
  ~Driver() {
    t_driver = this;
    platform_.reset();
    t_driver = nullptr;
  }

  bool run(OpReader& in) {
    call(kDefaults, 0);
    sim_.input(in::kApiKey).setText(kApiKey);
    for (int ops = 0; ops < kMaxOps && calls_ < kMaxCalls && !in.done(); ++ops) op(in);
    overrides_ = RecordOverrides();
    script_ = sim::CallScript();
    call(kLastCall, 0);
    return checks_.ok();
  }

  std::string firstProblem() const { return checks_.firstProblem(); }

 private:
  static void hookedStudy(s_sc& sc) { t_driver->present(sc); }

  // A horizontal line of the user's own, which no call of the study may remove.
  static std::int32_t addUserDrawing(sim::SimHost& chart) {
    DrawingSpec user;
    user.DrawingType = 3;
    user.BeginValue = user.EndValue = 1.0f;
    return chart.addDrawing(user, /*study_own=*/false);
  }

  void op(OpReader& in) {
    StudyHost& h = sim_.host();
    switch (in.u8() % 12) {
      case 0: {
        const std::uint8_t flags = in.u8();
        call(flags, in.u16());
        break;
      }
      case 1: h.CurrentTime = h.ClockTime = fromBase(in.i32()); break;
      case 2: h.AltClockTime = fromBase(in.i32()); break;
      case 3: input(in); break;
      case 4: rawInput(in); break;
      case 5: {
        const std::int32_t start = in.i32();
        const std::int64_t step = static_cast<std::int64_t>(in.u16()) * kMicrosPerSecond;
        sim_.setBars(fromBase(start), step, in.u16() % (kMaxBars + 1));
        break;
      }
      case 6: {
        const std::uint16_t bar = in.u16();
        const std::int64_t t = in.i64();
        std::vector<DateTime> times = sim_.barTimes();
        if (!times.empty()) times[bar % times.size()] = t;
        sim_.setBarTimes(std::move(times));
        break;
      }
      case 7: {
        const int array = in.u8() % (2 * PlatformArrays::kSubgraphs + 1);
        const auto shape = static_cast<ArrayShape>(in.u8() % 4);
        const std::int32_t short_by = in.u16();
        if (array == 2 * PlatformArrays::kSubgraphs) {
          arrays_.setBarShape(shape, short_by);
        } else {
          arrays_.setSubgraphShape(array % PlatformArrays::kSubgraphs,
                                   array / PlatformArrays::kSubgraphs, shape, short_by);
        }
        break;
      }
      case 8: record(in); break;
      case 9: {
        const bool null_text = (in.u8() & 1) != 0;
        std::string text = in.bytes(in.u16() % (kMaxAnswer + 1));
        script_.response_ready = true;
        if (null_text) {
          script_.response_text.reset();
        } else {
          script_.response_text.emplace(std::move(text));
        }
        break;
      }
      case 10: {
        sim::DirectAnswer answer;
        answer.ok = (in.u8() & 1) != 0;
        answer.status = in.u16();
        std::string text = in.bytes(in.u16() % (kMaxAnswer + 1));
        (answer.ok ? answer.body : answer.error) = std::move(text);
        script_.conversion = std::move(answer);
        break;
      }
      default: chart(in); break;
    }
  }

  // The kinds: 0 float, 1 integer, 2 yes/no, 3 colour, 4 list, 5 time zone, 6 time of day,
  // 7 text, 8 a number in the slot's present type, 9 a type code the study never declares,
  // 10 a text slot without text.
  void input(OpReader& in) {
    const std::int32_t slot = in.u8() % sim::SimHost::kInputCount;
    StudyInput& to = sim_.input(slot);
    switch (in.u8() % 11) {
      case 0: to.setFloat(in.f32()); break;
      case 1: to.setInteger(in.i32()); break;
      case 2: to.setYesNo((in.u8() & 1) != 0); break;
      case 3: to.setColour(in.u32()); break;
      case 4: to.setCustomList(in.i32()); break;
      case 5: to.setTimeZone(in.i32()); break;
      case 6: to.setTimeOfDay(in.f64()); break;
      case 7: {
        const std::string text = in.bytes(in.u16() % (kMaxText + 1));
        to.setText(slot == in::kApiKey ? kApiKey : text.c_str());
        break;
      }
      case 8: number(to, in.f64()); break;
      case 9: to.type = static_cast<InputType>(in.u8()); break;
      default: to.setText(slot == in::kApiKey ? kApiKey : nullptr); break;
    }
  }

  static void number(StudyInput& to, double v) {
    switch (to.type) {
      case InputType::kTimeOfDay: to.setTimeOfDay(v); break;
      case InputType::kYesNo: to.setYesNo(v != 0.0); break;
      case InputType::kInteger: to.setInteger(clampToInt32(v)); break;
      case InputType::kCustomList: to.setCustomList(clampToInt32(v)); break;
      case InputType::kTimeZone: to.setTimeZone(clampToInt32(v)); break;
      case InputType::kColour:
        to.setColour(static_cast<std::uint32_t>(clampToInt32(v < 0.0 ? 0.0 : v)));
        break;
      default: to.setFloat(static_cast<float>(std::isfinite(v) && std::fabs(v) < 3e38 ? v : 0.0));
    }
  }

  void rawInput(OpReader& in) {
    RawInput raw;
    raw.slot = in.u8() % sim::SimHost::kInputCount;
    raw.type = in.u8();
    if (raw.type == STRING_VALUE) {
      raw.text = raw.slot == in::kApiKey ? kApiKey : in.bytes(in.u16() % (kMaxText + 1));
    } else {
      in.raw(raw.value, sizeof raw.value);
    }
    overrides_.raw.push_back(std::move(raw));
  }

  void record(OpReader& in) {
    RecordOverrides& o = overrides_;
    switch (in.u8() % 9) {
      case 0: o.array_size = in.i32(); break;
      case 1: o.update_start = in.i32(); break;
      case 2: o.tick = in.f32(); break;
      case 3: o.now = in.i64(); break;
      case 4: {
        const std::int32_t status = in.i32();
        o.replay = std::make_pair(status, in.i64());
        break;
      }
      case 5: o.earliest = in.i32(); break;
      case 6: o.request_id = in.i32(); break;
      case 7: o.inputs = in.u8() % kPresentedInputs; break;
      default: o.subgraphs = in.u8() % kPresentedSubgraphs; break;
    }
  }

  void chart(OpReader& in) {
    StudyHost& h = sim_.host();
    switch (in.u8() % 4) {
      case 0: stale_.push_back((in.u8() & 1) != 0 ? 12 : 39); break;
      case 1: script_.place_fail_ordinals.push_back(in.u8()); break;
      case 2: h.RecalcFromBar = in.i32(); break;
      default: h.HostBuild = in.i32(); break;
    }
  }

  // Inside the simulated platform's call: the record as presented, then the mutations.
  void present(s_sc& sc) {
    const StudyHost& h = sim_.host();
    arrays_.install(sc, h.BarTimes, h.BarCount);
    const RecordOverrides::Held held = overrides_.apply(sc);
    arrays_.use();
    scsf_OstrelLevels(sc);
    PlatformArrays::unuse();
    RecordOverrides::restore(sc, held);
  }

  void call(std::uint8_t flags, std::uint16_t seconds) {
    ++calls_;
    StudyHost& h = sim_.host();
    h.CurrentTime += static_cast<DateTime>(seconds) * kMicrosPerSecond;
    h.ClockTime = h.CurrentTime;
    h.IsFullRecalc = (flags & kFullRecalc) != 0 ? 1 : 0;
    h.IsRemovalCall = (flags & kLastCall) != 0 ? 1 : 0;
    h.IsSuspended = (flags & kHidden) != 0 ? 1 : 0;
    h.IsDefaultsCall = (flags & kDefaults) != 0 ? 1 : 0;
    h.UseAltClock = (flags & kReplayClock) != 0 ? 1 : 0;
    script_.start_request_fails = (flags & kRequestRefused) != 0;
    script_.place_all_fail = (flags & kDrawingsRefused) != 0;
    script_.find_drawing_sticky = (flags & kStickyFind) != 0;
    const bool refused = (overrides_.inputs >= 0 && overrides_.inputs < kPresentedInputs) ||
                         (overrides_.subgraphs >= 0 && overrides_.subgraphs < kPresentedSubgraphs);
    const soak::HeldRecords before = soak::heldRecords(sim_);
    // Leftovers of an earlier run, which only a full recalculation's sweep can know of.
    const bool sweeps = (flags & kFullRecalc) != 0 && (flags & kStickyFind) == 0 &&
                        (flags & (kDefaults | kLastCall)) != kDefaults && !refused;
    if (sweeps) {
      for (const std::int32_t type : stale_) sim_.addStaleDrawing(type);
    }
    stale_.clear();

    t_driver = this;
    const sim::CallRecord& rec = sim_.runCall(sim::PlatformRecord::studyFunction(), script_);
    t_driver = nullptr;
    h.IsFullRecalc = h.IsRemovalCall = h.IsSuspended = h.IsDefaultsCall = h.UseAltClock = 0;
    script_ = sim::CallScript();
    overrides_ = RecordOverrides();

    CallKind kind;
    kind.last = (flags & kLastCall) != 0;
    kind.defaults = (flags & kDefaults) != 0 && !kind.last;
    kind.hidden = (flags & kHidden) != 0;
    kind.refused = refused;
    // A sweep that keeps meeting the same drawing stops at its bound and may leave others.
    kind.swept =
        (flags & kFullRecalc) != 0 && (flags & kStickyFind) == 0 && !kind.defaults && !refused;
    if (trace_) trace(rec, flags, refused);
    checks_.afterCall(sim_, rec, kind, before, platform_->holdsBindingState(), calls_);
  }

  void trace(const sim::CallRecord& rec, std::uint8_t flags, bool refused) const {
    std::fprintf(stderr, "call %d flags %u: %zu placed, %zu removed, %zu requests, %zu logged%s\n",
                 calls_, static_cast<unsigned>(flags), rec.placed.size(), rec.removed.size(),
                 rec.requests.size(), rec.log.size(), refused ? " (refused record)" : "");
    for (const sim::LogEntry& e : rec.log) std::fprintf(stderr, "  log: %s\n", e.text.c_str());
  }

  sim::SimHost sim_;
  PlatformArrays arrays_;
  std::unique_ptr<sim::PlatformRecord> platform_;
  RecordOverrides overrides_;
  sim::CallScript script_;
  std::vector<std::int32_t> stale_;  // drawing types, for the next call
  int calls_ = 0;
  bool trace_ = std::getenv("OSTREL_FUZZ_TRACE") != nullptr;  // each call's doings on stderr

  EntryChecks checks_;
};

}  // namespace

bool checkPlatformEntry(const std::uint8_t* data, std::size_t size, std::string* why) {
  OpReader in(data, size);
  Driver driver;
  const bool ok = driver.run(in);
  if (!ok && why != nullptr) *why = driver.firstProblem();
  return ok;
}

}  // namespace ostrel::fuzz

#include "bench/study_fixture.h"

#include "bench/alloc_counter.h"
#include "bench/answers.h"
#include "sim/replay_datetime.h"
#include "sim/sim_host_ops.h"
#include "study/input_ids.h"
#include "study/study_entry.h"

namespace ostrel::bench {
namespace {

constexpr std::int64_t kUnixOfNewYorkMidnight = 1776139200;  // 2026-04-14 00:00 EDT

}  // namespace

DateTime sessionTime(int hour, int minute, int second) {
  const std::int64_t seconds = hour * 3600 + minute * 60 + second;
  return sim::dateTimeFromCivil(2026, 4, 14, seconds * sim::kMicrosPerSecond);
}

std::int64_t sessionUnixSeconds(int hour, int minute, int second) {
  return kUnixOfNewYorkMidnight + hour * 3600 + minute * 60 + second;
}

StudyFixture::StudyFixture(std::int32_t bar_count) {
  sim_.setBars(sessionTime(9, 30, 0), kMicrosPerMinute, bar_count);
  sim_.runDefaults(&studyFunction);
  sim_.input(in::kApiKey).setText("bench-key-0123456789");
  sim_.input(in::kTicker).setText("SPX");
  history_answer_ = makeHistoryAnswer(30, sessionUnixSeconds(9, 30, 0), 60);
}

const sim::CallRecord& StudyFixture::call(DateTime time, const std::string& profile_answer,
                                          bool full_recalc, sim::StudyFunction function) {
  StudyHost& h = sim_.host();
  h.CurrentTime = time;
  const std::int64_t minute = (time - sessionTime(9, 30, 0)) / kMicrosPerMinute;
  const std::int32_t last = h.BarCount - 1;
  h.CurrentBarIndex = minute < 0 ? 0 : (minute > last ? last : static_cast<std::int32_t>(minute));
  h.IsFullRecalc = full_recalc ? 1 : 0;

  sim::CallScript script;
  if (pending_ != Pending::kNone) {
    script.response_ready = true;
    script.response_text = pending_ == Pending::kHistory ? history_answer_ : profile_answer;
  }
  const sim::CallRecord& record =
      sim_.runCall(function != nullptr ? function : &studyFunction, script);
  h.IsFullRecalc = 0;
  pending_ = Pending::kNone;
  if (!record.requests.empty() && record.requests.back().started) {
    const bool history = record.requests.back().url.find("/hist/") != std::string::npos;
    pending_ = history ? Pending::kHistory : Pending::kProfile;
  }
  return record;
}

bool StudyFixture::reachIdle(const std::string& profile_answer) {
  DateTime t = sessionTime(10, 0, 0);
  call(t, profile_answer, /*full_recalc=*/true);
  for (int i = 0; i < 10; ++i) {
    t += sim::kMicrosPerSecond;
    const bool answering_profile = profilePending();
    const sim::CallRecord& record = call(t, profile_answer);
    if (answering_profile) {
      if (record.placed.empty() || !record.requests.empty()) return false;
      sim_.host().CurrentTime = t + sim::kMicrosPerSecond;
      return true;
    }
  }
  return false;
}

// ---- host operations that pause the allocation counter -----------------------------------

namespace {

StudyHostOperations simOps() noexcept {
  StudyHostOperations ops{};
  sim::installSimHostOps(ops);
  return ops;
}

template <typename T, T Member>
struct Paused;

template <typename R, typename... A, R (*StudyHostOperations::*Member)(A...)>
struct Paused<R (*StudyHostOperations::*)(A...), Member> {
  static R call(A... args) {
    static const StudyHostOperations original = simOps();
    AllocPause pause;
    return (original.*Member)(args...);
  }
};

#define OSTREL_BENCH_PAUSED(name) \
  ops.name = &Paused<decltype(&StudyHostOperations::name), &StudyHostOperations::name>::call

}  // namespace

void shimHostOps(StudyHost& host) noexcept {
  StudyHostOperations& ops = host.Ops;
  OSTREL_BENCH_PAUSED(LogMessage);
  OSTREL_BENCH_PAUSED(PlaceDrawing);
  OSTREL_BENCH_PAUSED(FindDrawing);
  OSTREL_BENCH_PAUSED(RemoveDrawing);
  OSTREL_BENCH_PAUSED(RemoveStudyDrawings);
  OSTREL_BENCH_PAUSED(StoredInt);
  OSTREL_BENCH_PAUSED(SetStoredInt);
  OSTREL_BENCH_PAUSED(StoredFloat);
  OSTREL_BENCH_PAUSED(StoredTime);
  OSTREL_BENCH_PAUSED(StoredText);
  OSTREL_BENCH_PAUSED(StoredPointer);
  OSTREL_BENCH_PAUSED(SetStoredPointer);
  OSTREL_BENCH_PAUSED(HostTimeToZone);
  OSTREL_BENCH_PAUSED(ZoneTimeToHost);
  OSTREL_BENCH_PAUSED(BarIndexAt);
  OSTREL_BENCH_PAUSED(StartHttpRequest);
  OSTREL_BENCH_PAUSED(DirectHttpsGet);
}

#undef OSTREL_BENCH_PAUSED

void unshimHostOps(StudyHost& host) noexcept { sim::installSimHostOps(host.Ops); }

}  // namespace ostrel::bench

// A whole trading day through the simulated host: one update call a second from 09:30:00 to
// 15:59:59 New York (23,400 calls) on a one-minute chart, the request interval at its default,
// every history and profile request answered in the next call (300 strikes per profile). It
// reports the day's CPU time (and wall time), the live heap and RSS after the first hour and at the
// close, and whether the GEX record's storage moved once it had held two answers.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "bench/alloc_counter.h"
#include "bench/answers.h"
#include "bench/lean_host.h"
#include "bench/study_fixture.h"
#include "service/profile_records.h"
#include "study/study_entry.h"

namespace ostrel::bench {
namespace {

constexpr int kCalls = 23400;
constexpr int kCallsPerHour = 3600;

// Resident set size in bytes, from /proc/self/statm; 0 where there is none.
double residentBytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return 0.0;
  long pages = 0;
  long resident = 0;
  const int read = std::fscanf(file, "%ld %ld", &pages, &resident);
  std::fclose(file);
  return read == 2 ? static_cast<double>(resident) * 4096.0 : 0.0;
}

void BM_TradingDay(benchmark::State& state) {
  // Answers of the same size with different numbers, as the service sends through a day.
  std::vector<std::string> answers;
  for (std::uint32_t seed = 1; seed <= 4; ++seed) answers.push_back(makeGexAnswer(300, seed));

  for (auto _ : state) {
    state.PauseTiming();
    StudyFixture fixture;
    StudyHost& host = fixture.host();
    double answers_drawn = 0;
    double record_moves = 0;
    const float* record_storage = nullptr;
    double live_1h = 0;
    double rss_1h = 0;
    const DateTime open = sessionTime(9, 30, 0);
    state.ResumeTiming();

    // CPU time: the machine may be shared, and the study's cost is what is wanted. The heap
    // counter is off: the allocator's own in-use figure tells the live heap.
    AllocOff counter_off;
    const std::clock_t cpu_start = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
      const bool answering = fixture.profilePending();
      const std::string& answer = answers[static_cast<std::size_t>(i) % answers.size()];
      const sim::CallRecord& record =
          fixture.call(open + i * sim::kMicrosPerSecond, answer, /*full_recalc=*/i == 0);
      if (answering && !record.placed.empty()) {
        ++answers_drawn;
        const GexData* gex = gexRecord(host);
        const float* storage = gex != nullptr ? gex->strike_prices.data() : nullptr;
        if (answers_drawn > 2 && storage != record_storage) ++record_moves;
        record_storage = storage;
      }
      if (i + 1 == kCallsPerHour) {
        live_1h = heapInUseBytes();
        rss_1h = residentBytes();
      }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    state.counters["day_seconds"] =
        static_cast<double>(std::clock() - cpu_start) / static_cast<double>(CLOCKS_PER_SEC);
    state.counters["day_wall_seconds"] = elapsed.count();
    state.counters["answers"] = answers_drawn;
    state.counters["record_moves"] = record_moves;
    state.counters["live_bytes_1h"] = live_1h;
    state.counters["live_bytes_end"] = heapInUseBytes();
    state.counters["rss_1h"] = rss_1h;
    state.counters["rss_end"] = residentBytes();
  }
}

// The same day on the lean host (bench/lean_host.h): the study's own CPU time for the day.
void BM_TradingDayLeanHost(benchmark::State& state) {
  std::vector<std::string> answers;
  for (std::uint32_t seed = 1; seed <= 4; ++seed) answers.push_back(makeGexAnswer(300, seed));
  const std::string history = makeHistoryAnswer(30, sessionUnixSeconds(9, 30, 0), 60);
  const DateTime open = sessionTime(9, 30, 0);

  for (auto _ : state) {
    state.PauseTiming();
    StudyFixture fixture;
    StudyHost& host = fixture.host();
    installLeanHost(host, open, kMicrosPerMinute);
    LeanRequest pending;
    double answers_drawn = 0;
    state.ResumeTiming();

    AllocOff counter_off;
    const std::clock_t cpu_start = std::clock();
    for (int i = 0; i < kCalls; ++i) {
      const DateTime t = open + i * sim::kMicrosPerSecond;
      host.CurrentTime = t;
      host.CurrentBarIndex = static_cast<std::int32_t>(i / 60);
      host.IsFullRecalc = i == 0 ? 1 : 0;
      const bool answering = pending.started && !pending.history;
      if (pending.started) {
        host.ResponseReady = 1;
        host.ResponseText = pending.history
                                ? history.c_str()
                                : answers[static_cast<std::size_t>(i) % answers.size()].c_str();
      }
      studyFunction(host);
      host.ResponseReady = 0;
      host.ResponseText = nullptr;
      pending = takeLeanRequest();
      if (answering && leanDrawingCount() > 0) ++answers_drawn;
    }
    const double cpu =
        static_cast<double>(std::clock() - cpu_start) / static_cast<double>(CLOCKS_PER_SEC);

    state.PauseTiming();
    host.IsFullRecalc = 0;
    host.IsRemovalCall = 1;  // releases the profile records
    studyFunction(host);
    state.ResumeTiming();
    state.counters["day_seconds"] = cpu;
    state.counters["answers"] = answers_drawn;
  }
}

}  // namespace

BENCHMARK(BM_TradingDayLeanHost)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TradingDay)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

}  // namespace ostrel::bench

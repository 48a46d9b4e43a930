// The parse budget's figure: parseGexProfile and the bare RapidJSON parses of the same answer
// (default flags, and iterative), timed call by call in turn, keeping the fastest call of each.
// Other work on a shared machine only ever slows a call down, and the three take turns under the
// same conditions, so the ratio of the fastest calls holds steady where the ratio of averages
// over separate runs moves by 20% or more with the load.
#include <benchmark/benchmark.h>

#include <rapidjson/document.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <string>

#include "bench/answers.h"
#include "bench/study_fixture.h"
#include "model/gex_data.h"
#include "model/parse_gex_profile.h"

namespace ostrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

template <unsigned flags>
bool bareParse(const std::string& text) {
  rapidjson::Document document;
  document.Parse<flags>(text.c_str());
  return document.HasParseError();
}

void BM_ParseGexPaired(benchmark::State& state) {
  const std::string text = makeGexAnswer(static_cast<int>(state.range(0)));
  StudyHost host;
  GexData record;
  const char* response = text.c_str();
  if (parseGexProfile(host, &response, &record) != ParseOutcome::filled) {
    state.SkipWithError("the GEX answer did not fill the record");
    return;
  }
  constexpr double kNever = std::numeric_limits<double>::infinity();
  double fastest[3] = {kNever, kNever, kNever};  // parse, bare default, bare iterative
  int turn = 0;
  for (auto _ : state) {
    // Each call goes first in turn, so that none always finds the text warm in the cache.
    for (int k = 0; k < 3; ++k) {
      const int which = (turn + k) % 3;
      const Clock::time_point start = Clock::now();
      if (which == 0) {
        benchmark::DoNotOptimize(parseGexProfile(host, &response, &record));
      } else if (which == 1) {
        benchmark::DoNotOptimize(bareParse<rapidjson::kParseDefaultFlags>(text));
      } else {
        benchmark::DoNotOptimize(bareParse<rapidjson::kParseIterativeFlag>(text));
      }
      const std::chrono::duration<double> took = Clock::now() - start;
      fastest[which] = std::min(fastest[which], took.count());
    }
    turn = (turn + 1) % 3;
  }
  state.counters["answer_bytes"] = static_cast<double>(text.size());
  state.counters["parse_seconds"] = fastest[0];
  state.counters["bare_seconds"] = fastest[1];
  state.counters["iterative_seconds"] = fastest[2];
}

}  // namespace

BENCHMARK(BM_ParseGexPaired)->Arg(300)->MinTime(1.5)->Repetitions(1);

}  // namespace ostrel::bench

// The three answer parsers against a bare RapidJSON parse of the same text with the default parse
// flags (the recursive parser), so the ratio is what the parsers add to reading the JSON: the
// number pre-scan, the nesting count, the member look-ups and filling the record. The budget's
// own figure, with the bare iterative parse beside it, is in parse_pair_bench.cpp.
#include <benchmark/benchmark.h>

#include <rapidjson/document.h>

#include <string>

#include "bench/alloc_counter.h"
#include "bench/answers.h"
#include "bench/study_fixture.h"
#include "model/gex_data.h"
#include "model/greek_data.h"
#include "model/parse_gex_profile.h"
#include "model/parse_greek_profile.h"
#include "model/parse_majors_history.h"

namespace ostrel::bench {
namespace {

void bareParse(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(text.c_str());
    benchmark::DoNotOptimize(document.HasParseError());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["answer_bytes"] = static_cast<double>(text.size());
}

bool sameStorage(const std::vector<float>& v, const float* data, std::size_t capacity) {
  return v.data() == data && v.capacity() == capacity;
}

void BM_ParseGex(benchmark::State& state) {
  const std::string text = makeGexAnswer(static_cast<int>(state.range(0)));
  StudyHost host;  // no operations: a log line goes nowhere
  GexData record;
  const char* response = text.c_str();
  if (parseGexProfile(host, &response, &record) != ParseOutcome::filled ||
      record.strike_prices.size() != static_cast<std::size_t>(state.range(0))) {
    state.SkipWithError("the GEX answer did not fill the record");
    return;
  }
  // A second answer of the same size must reuse the record's storage.
  const float* strikes = record.strike_prices.data();
  const float* vol = record.gex_vol.data();
  const float* oi = record.gex_oi.data();
  const float* priors = record.priors.data();
  const std::size_t strikes_cap = record.strike_prices.capacity();
  const std::size_t priors_cap = record.priors.capacity();
  const std::string second = makeGexAnswer(static_cast<int>(state.range(0)), 2);
  const char* second_response = second.c_str();
  AllocScope steady;
  parseGexProfile(host, &second_response, &record);
  const AllocTotals steady_allocs = steady.delta();
  const bool kept = sameStorage(record.strike_prices, strikes, strikes_cap) &&
                    record.gex_vol.data() == vol && record.gex_oi.data() == oi &&
                    sameStorage(record.priors, priors, priors_cap);

  for (auto _ : state) {
    benchmark::DoNotOptimize(parseGexProfile(host, &response, &record));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["answer_bytes"] = static_cast<double>(text.size());
  state.counters["records_kept"] = kept ? 1.0 : 0.0;
  state.counters["allocs_per_parse"] = static_cast<double>(steady_allocs.allocations);
  state.counters["reallocs_per_parse"] = static_cast<double>(steady_allocs.reallocations);
}

void BM_BareParseGex(benchmark::State& state) {
  bareParse(state, makeGexAnswer(static_cast<int>(state.range(0))));
}

void BM_ParseGreek(benchmark::State& state) {
  const std::string text = makeGreekAnswer(static_cast<int>(state.range(0)));
  StudyHost host;
  GreekData record;
  const char* response = text.c_str();
  if (parseGreekProfile(host, &response, &record) != ParseOutcome::filled ||
      record.strike_prices.size() != static_cast<std::size_t>(state.range(0))) {
    state.SkipWithError("the Greek answer did not fill the record");
    return;
  }
  const float* strikes = record.strike_prices.data();
  const float* priors = record.priors.data();
  AllocScope steady;
  parseGreekProfile(host, &response, &record);
  const AllocTotals steady_allocs = steady.delta();
  const bool kept = record.strike_prices.data() == strikes && record.priors.data() == priors;

  for (auto _ : state) {
    benchmark::DoNotOptimize(parseGreekProfile(host, &response, &record));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["answer_bytes"] = static_cast<double>(text.size());
  state.counters["records_kept"] = kept ? 1.0 : 0.0;
  state.counters["allocs_per_parse"] = static_cast<double>(steady_allocs.allocations);
}

void BM_BareParseGreek(benchmark::State& state) {
  bareParse(state, makeGreekAnswer(static_cast<int>(state.range(0))));
}

// History points one minute apart from 09:30 land in the fixture's one-minute bars; each point
// costs the parser a zone conversion and a bar look-up through the host.
std::string historyText(std::int64_t points) {
  return makeHistoryAnswer(static_cast<int>(points), sessionUnixSeconds(9, 30, 0), 60);
}

void BM_ParseHistory(benchmark::State& state) {
  const std::string text = historyText(state.range(0));
  StudyFixture fixture;
  StudyHost& host = fixture.host();
  const char* response = text.c_str();
  if (parseMajorsHistory(host, &response, 0.0f, 1.0f) != 0 || host.EarliestChangedBar != 0) {
    state.SkipWithError("the history answer wrote nothing");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(parseMajorsHistory(host, &response, 0.0f, 1.0f));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["answer_bytes"] = static_cast<double>(text.size());
}

void BM_BareParseHistory(benchmark::State& state) { bareParse(state, historyText(state.range(0))); }

}  // namespace

BENCHMARK(BM_ParseGex)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000);
BENCHMARK(BM_BareParseGex)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000);
BENCHMARK(BM_ParseGreek)->Arg(300);
BENCHMARK(BM_BareParseGreek)->Arg(300);
BENCHMARK(BM_ParseHistory)->Arg(391);
BENCHMARK(BM_BareParseHistory)->Arg(391);

}  // namespace ostrel::bench

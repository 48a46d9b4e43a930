// Service answers made up for the benchmarks, shaped like the real ones: strikes five points
// apart around the spot, numbers with the decimals the service sends, five priors per GEX
// strike and three per Greek strike, five max_priors. Deterministic for a given seed.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel::bench {

// A GEX profile answer with `strikes` strike entries.
std::string makeGexAnswer(int strikes, std::uint32_t seed = 1);

// A Greek profile answer ("mini_contracts") with `strikes` entries.
std::string makeGreekAnswer(int strikes, std::uint32_t seed = 1);

// A majors history answer: `points` points `step_seconds` apart from `first_unix_second`.
std::string makeHistoryAnswer(int points, std::int64_t first_unix_second, std::int64_t step_seconds,
                              std::uint32_t seed = 1);

}  // namespace ostrel::bench

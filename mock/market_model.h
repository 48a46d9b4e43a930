// MarketModel: the mock's market, snapshots of it at any instant, and the history of its majors.
//
// A snapshot is a pure function of (seed, ticker, kind, instant), so priors are simply the
// snapshots 1, 5, 10, 15 and 30 minutes back and the majors history is the snapshot of every
// session minute. Walks and chains are cached per day; the model is safe to share between the
// server's threads.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "mock/chain_model.h"
#include "mock/gex_compute.h"
#include "mock/spot_walk.h"
#include "mock/tickers.h"

namespace ostrel::mock {

enum class ProfileKind { kFull, kZero, kOne, kGamma, kGammaOne, kDelta, kDeltaOne };

// The URL segment ("full", "zero", ..., "delta_one"); false for any other text.
bool parseProfileKind(const std::string& segment, ProfileKind& kind) noexcept;
bool isGreekKind(ProfileKind kind) noexcept;

constexpr std::array<int, 5> kGexPriorMinutes = {1, 5, 10, 15, 30};
constexpr std::array<int, 3> kGreekPriorMinutes = {5, 15, 30};

struct GexSnapshot {
  std::int64_t timestamp = 0;
  GexProfile now;
  std::array<std::vector<double>, 5> prior_vol;           // gex_vol 1..30 minutes back
  std::array<std::pair<double, double>, 5> max_priors{};  // (strike, change) per interval
};

struct GreekSnapshot {
  std::int64_t timestamp = 0;
  GreekProfile now;
  std::array<std::vector<double>, 3> priors;  // value3 5, 15, 30 minutes back
};

struct HistoryPoint {
  std::int64_t timestamp = 0;
  double major_call_gamma = 0.0;
  double major_put_gamma = 0.0;
  double zero_gamma = 0.0;
};

class MarketModel {
 public:
  explicit MarketModel(std::uint64_t seed) : seed_(seed) {}

  std::uint64_t seed() const noexcept { return seed_; }
  double spotAt(const TickerSpec& spec, std::int64_t unix_seconds);
  GexProfile gexAt(const TickerSpec& spec, ProfileKind kind, std::int64_t unix_seconds,
                   bool with_oi);
  GreekProfile greekAt(const TickerSpec& spec, ProfileKind kind, std::int64_t unix_seconds);

  GexSnapshot gexSnapshot(const TickerSpec& spec, ProfileKind kind, std::int64_t now, bool with_oi);
  GreekSnapshot greekSnapshot(const TickerSpec& spec, ProfileKind kind, std::int64_t now);

  // One point per session minute in [start, min(end, now)], oldest first; at most eight days.
  std::vector<HistoryPoint> majorsHistory(const TickerSpec& spec, std::int64_t start,
                                          std::int64_t end, std::int64_t now);

 private:
  std::shared_ptr<const SpotWalk> walk(const TickerSpec& spec, std::int64_t day);
  std::shared_ptr<const DayChain> chain(const TickerSpec& spec, std::int64_t day, Expiry expiry);

  std::uint64_t seed_;
  std::mutex mutex_;
  std::map<std::pair<std::string, std::int64_t>, std::shared_ptr<const SpotWalk>> walks_;
  std::map<std::tuple<std::string, std::int64_t, int>, std::shared_ptr<const DayChain>> chains_;
  std::map<std::pair<std::string, std::int64_t>, HistoryPoint> history_;
};

}  // namespace ostrel::mock

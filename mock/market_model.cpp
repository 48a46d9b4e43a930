#include "mock/market_model.h"

#include <cmath>
#include <cstring>

#include "mock/ny_time.h"

namespace ostrel::mock {

namespace {

constexpr std::size_t kCacheLimit = 64;
constexpr std::size_t kHistoryCacheLimit = 20000;
constexpr std::int64_t kMaxHistorySeconds = 8 * 86400;

struct KindName {
  const char* segment;
  ProfileKind kind;
};
const KindName kKindNames[] = {
    {"full", ProfileKind::kFull},
    {"zero", ProfileKind::kZero},
    {"one", ProfileKind::kOne},
    {"gamma", ProfileKind::kGamma},
    {"gamma_one", ProfileKind::kGammaOne},
    {"delta", ProfileKind::kDelta},
    {"delta_one", ProfileKind::kDeltaOne},
};

Expiry expiryOf(ProfileKind kind) noexcept {
  switch (kind) {
    case ProfileKind::kFull: return Expiry::kAggregate;
    case ProfileKind::kZero:
    case ProfileKind::kGamma:
    case ProfileKind::kDelta: return Expiry::kZeroDay;
    default: return Expiry::kOneDay;
  }
}

double atmVolFor(const TickerSpec& spec, Expiry expiry) noexcept {
  return expiry == Expiry::kZeroDay ? spec.atm_vol * 1.1 : spec.atm_vol;
}

}  // namespace

bool parseProfileKind(const std::string& segment, ProfileKind& kind) noexcept {
  for (const KindName& k : kKindNames) {
    if (segment == k.segment) {
      kind = k.kind;
      return true;
    }
  }
  return false;
}

bool isGreekKind(ProfileKind kind) noexcept {
  return kind != ProfileKind::kFull && kind != ProfileKind::kZero && kind != ProfileKind::kOne;
}

std::shared_ptr<const SpotWalk> MarketModel::walk(const TickerSpec& spec, std::int64_t day) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto key = std::make_pair(std::string(spec.symbol), day);
  auto it = walks_.find(key);
  if (it != walks_.end()) return it->second;
  if (walks_.size() >= kCacheLimit) walks_.clear();
  auto made = std::make_shared<const SpotWalk>(seed_, spec, day);
  walks_.emplace(key, made);
  return made;
}

std::shared_ptr<const DayChain> MarketModel::chain(const TickerSpec& spec, std::int64_t day,
                                                   Expiry expiry) {
  std::shared_ptr<const SpotWalk> w = walk(spec, day);
  std::lock_guard<std::mutex> lock(mutex_);
  auto key = std::make_tuple(std::string(spec.symbol), day, static_cast<int>(expiry));
  auto it = chains_.find(key);
  if (it != chains_.end()) return it->second;
  if (chains_.size() >= kCacheLimit) chains_.clear();
  auto made = std::make_shared<const DayChain>(seed_, spec, day, expiry, *w);
  chains_.emplace(key, made);
  return made;
}

double MarketModel::spotAt(const TickerSpec& spec, std::int64_t t) {
  const NewYorkTime ny = toNewYork(t);
  return walk(spec, ny.day)->atSecondOfDay(ny.second);
}

GexProfile MarketModel::gexAt(const TickerSpec& spec, ProfileKind kind, std::int64_t t,
                              bool with_oi) {
  const NewYorkTime ny = toNewYork(t);
  const Expiry expiry = expiryOf(kind);
  std::shared_ptr<const DayChain> c = chain(spec, ny.day, expiry);
  std::vector<double> calls, puts;
  c->volumesAt(ny.second, calls, puts);
  const double spot = walk(spec, ny.day)->atSecondOfDay(ny.second);
  return computeGexProfile(*c, spot, c->yearsToExpiry(ny.second), atmVolFor(spec, expiry), calls,
                           puts, with_oi);
}

GreekProfile MarketModel::greekAt(const TickerSpec& spec, ProfileKind kind, std::int64_t t) {
  const NewYorkTime ny = toNewYork(t);
  const Expiry expiry = expiryOf(kind);
  std::shared_ptr<const DayChain> c = chain(spec, ny.day, expiry);
  std::vector<double> calls, puts;
  c->volumesAt(ny.second, calls, puts);
  const double spot = walk(spec, ny.day)->atSecondOfDay(ny.second);
  const bool delta = kind == ProfileKind::kDelta || kind == ProfileKind::kDeltaOne;
  return computeGreekProfile(*c, spot, c->yearsToExpiry(ny.second), atmVolFor(spec, expiry), calls,
                             puts, delta);
}

GexSnapshot MarketModel::gexSnapshot(const TickerSpec& spec, ProfileKind kind, std::int64_t now,
                                     bool with_oi) {
  GexSnapshot s;
  s.timestamp = now;
  s.now = gexAt(spec, kind, now, with_oi);
  for (std::size_t k = 0; k < kGexPriorMinutes.size(); ++k) {
    GexProfile back = gexAt(spec, kind, now - 60 * kGexPriorMinutes[k], with_oi);
    // A new day can list other strikes; priors are matched by position only within one chain.
    if (back.gex_vol.size() != s.now.gex_vol.size()) back.gex_vol.assign(s.now.gex_vol.size(), 0.0);
    s.prior_vol[k] = back.gex_vol;
    double best = -1.0;
    for (std::size_t i = 0; i < s.now.strikes.size(); ++i) {
      const double change = s.now.gex_vol[i] - back.gex_vol[i];
      if (std::fabs(change) > best) {
        best = std::fabs(change);
        s.max_priors[k] = {s.now.strikes[i], change};
      }
    }
  }
  return s;
}

GreekSnapshot MarketModel::greekSnapshot(const TickerSpec& spec, ProfileKind kind,
                                         std::int64_t now) {
  GreekSnapshot s;
  s.timestamp = now;
  s.now = greekAt(spec, kind, now);
  for (std::size_t k = 0; k < kGreekPriorMinutes.size(); ++k) {
    GreekProfile back = greekAt(spec, kind, now - 60 * kGreekPriorMinutes[k]);
    if (back.value3.size() != s.now.value3.size()) back.value3.assign(s.now.value3.size(), 0.0);
    s.priors[k] = back.value3;
  }
  return s;
}

std::vector<HistoryPoint> MarketModel::majorsHistory(const TickerSpec& spec, std::int64_t start,
                                                     std::int64_t end, std::int64_t now) {
  std::vector<HistoryPoint> points;
  if (end > now) end = now;
  if (start < end - kMaxHistorySeconds) start = end - kMaxHistorySeconds;
  if (start > end) return points;
  std::int64_t t = start % 60 == 0 ? start : start + (60 - ((start % 60) + 60) % 60);
  for (; t <= end; t += 60) {
    const NewYorkTime ny = toNewYork(t);
    if (ny.second < kSessionOpenSecond || ny.second > kSessionCloseSecond) continue;
    const auto key = std::make_pair(std::string(spec.symbol), t);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      auto it = history_.find(key);
      if (it != history_.end()) {
        points.push_back(it->second);
        continue;
      }
    }
    const GexProfile p = gexAt(spec, ProfileKind::kFull, t, true);
    HistoryPoint point{t, p.major_pos_vol, p.major_neg_vol, p.zero_gamma};
    points.push_back(point);
    std::lock_guard<std::mutex> lock(mutex_);
    if (history_.size() >= kHistoryCacheLimit) history_.clear();
    history_.emplace(key, point);
  }
  return points;
}

}  // namespace ostrel::mock

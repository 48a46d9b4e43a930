#include "mock/conversion_model.h"

#include <cctype>
#include <cmath>

#include "jsonout/json_writer.h"
#include "mock/answers.h"
#include "mock/ny_time.h"
#include "mock/rng.h"
#include "sim/civil_date.h"

namespace ostrel::mock {

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The front quarterly contract: March, June, September, December, rolling mid-month.
std::string contractName(const std::string& root, std::int64_t now) {
  const NewYorkTime ny = toNewYork(now);
  const sim::CivilDate date = sim::civilFromDays(ny.day);
  std::int64_t year = date.year;
  const int month = date.month;
  const int day = date.day;
  int quarter_month = ((month + 2) / 3) * 3;
  if (month == quarter_month && day > 14) quarter_month += 3;
  if (quarter_month > 12) {
    quarter_month -= 12;
    year += 1;
  }
  const char code = quarter_month == 3   ? 'H'
                    : quarter_month == 6 ? 'M'
                    : quarter_month == 9 ? 'U'
                                         : 'Z';
  return root + code + static_cast<char>('0' + static_cast<int>(year % 10));
}

double premiumAt(std::uint64_t seed, const TickerSpec& index, std::int64_t now) {
  const NewYorkTime ny = toNewYork(now);
  const std::uint64_t stream =
      hashKey(seed, hashText(index.symbol), static_cast<std::uint64_t>(ny.day), 77);
  const double start = index.future_premium * (0.67 + 0.66 * uniformOf(hashKey(stream, 1)));
  // A slow drift: a few smooth swings of a quarter point to a couple of points over the day.
  const double u = static_cast<double>(ny.second) / 86400.0;
  const double swing = std::sin(6.283185307179586 * (u * 3.0 + uniformOf(hashKey(stream, 2))));
  const double drift = index.future_premium * 0.03 * swing - index.future_premium * 0.02 * u;
  return std::round((start + drift) * 100.0) / 100.0;
}

}  // namespace

ConversionResult convertToFuture(MarketModel& model, const std::string& ticker,
                                 const std::string& future, const std::string& model_name,
                                 std::int64_t now) {
  ConversionResult r;
  r.timestamp = now;
  r.model = model_name;
  const std::string ticker_upper = upper(ticker);
  const TickerSpec* underlying = findTicker(ticker_upper);
  if (underlying == nullptr) {
    r.error = "Unknown ticker symbol: " + ticker_upper;
    return r;
  }
  const std::string root = upper(future);
  const char* index_symbol = nullptr;
  if (root == "ES" || root == "MES") index_symbol = "SPX";
  if (root == "NQ" || root == "MNQ") index_symbol = "NDX";
  if (index_symbol == nullptr) {
    r.error = "Unknown future: " + future;
    return r;
  }
  if (model_name != "additive" && model_name != "affine") {
    r.error = "Unknown conversion model: " + model_name;
    return r;
  }
  const TickerSpec* index = findTicker(index_symbol);
  const double premium = premiumAt(model.seed(), *index, now);
  const double index_spot = model.spotAt(*index, now);
  const double spot = model.spotAt(*underlying, now);
  if (model_name == "additive") {
    r.multiplier = 1.0;
    r.additive = std::round((index_spot + premium - spot) * 100.0) / 100.0;
  } else {
    r.multiplier = std::round(index_spot / spot * 1e6) / 1e6;
    r.additive = premium;
  }
  r.future_contract = contractName(root, now);
  r.ok = true;
  return r;
}

std::string conversionAnswer(const std::string& ticker, const std::string& future,
                             const ConversionResult& r) {
  if (!r.ok) return errorBody(r.error);
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject();
  w.key("ticker").value(ticker);
  w.key("future").value(future);
  w.key("future_contract").value(r.future_contract);
  w.key("model").value(r.model);
  w.key("multiplier").fixed(r.multiplier, 6);
  w.key("additive").fixed(r.additive, 2);
  w.key("timestamp").integer(r.timestamp);
  w.endObject();
  return w.take();
}

}  // namespace ostrel::mock

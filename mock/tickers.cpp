#include "mock/tickers.h"

#include <cstring>

namespace ostrel::mock {

namespace {

const TickerSpec kTickers[] = {
    {"SPX", 5500.0, 5.0, 40, 0.15, 0.009, 20000.0, 45.0},
    {"NDX", 19500.0, 25.0, 40, 0.19, 0.012, 6000.0, 160.0},
    {"SPY", 550.0, 1.0, 40, 0.15, 0.009, 90000.0, 0.0},
    {"QQQ", 475.0, 1.0, 40, 0.19, 0.012, 70000.0, 0.0},
    {"AAPL", 210.0, 2.5, 24, 0.26, 0.015, 40000.0, 0.0},
};

struct Alias {
  const char* name;
  const char* symbol;
};
const Alias kAliases[] = {{"ES_SPX", "SPX"}, {"NQ_NDX", "NDX"}};

}  // namespace

const TickerSpec* findTicker(const std::string& ticker) noexcept {
  const char* wanted = ticker.c_str();
  for (const Alias& alias : kAliases) {
    if (std::strcmp(alias.name, wanted) == 0) wanted = alias.symbol;
  }
  for (const TickerSpec& spec : kTickers) {
    if (std::strcmp(spec.symbol, wanted) == 0) return &spec;
  }
  return nullptr;
}

}  // namespace ostrel::mock

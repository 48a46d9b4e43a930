// The HTTP routes of the mock data service.
//
//   GET|POST /v2/sierra/{TICKER}/{classic|state}/{kind}           profile ("Basic <key>")
//   GET|POST /v2/sierra/hist/{TICKER}/classic/gex_full/majors/7   majors history, body
//            {"start": S, "end": E} in Unix seconds (query start/end also accepted)
//   GET      /v2/futures/conversion?ticker=&future=&model=         conversion ("Bearer <key>")
//   GET      /health                                               {"status": "ok", "now": T}
//
// Error answers: a refused key gives 401 with {"message": "ERROR: Invalid API Key."} on the
// profile and history routes and {"error": "Invalid API Key."} on the conversion; an unknown
// ticker 404 {"error": "Unknown ticker symbol: XYZ"}; a package that does not offer the kind
// (classic with gamma or delta) or an unknown segment 400 {"error": ...}. The State package
// carries no open interest for the full and 0-day GEX kinds (their OI figures are 0).
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "mock/market_model.h"
#include "mock/mock_clock.h"
#include "mock/recorded_answers.h"
#include "mock/service_config.h"

namespace httplib {
class Server;
}

namespace ostrel::mock {

struct ServiceState {
  explicit ServiceState(const ServiceConfig& c)
      : config(c), model(c.seed), clock(c.start_time, c.speed), recorded(c.record_dir) {}

  ServiceConfig config;
  MarketModel model;
  MockClock clock;
  RecordedAnswers recorded;
  std::atomic<long> requests{0};
  // Wakes silent and slow requests when the service stops.
  std::mutex stop_mutex;
  std::condition_variable stop_signal;
  bool stopping = false;
};

void installRoutes(httplib::Server& server, ServiceState& state);

}  // namespace ostrel::mock

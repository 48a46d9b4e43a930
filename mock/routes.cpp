#include "mock/routes.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <string>

#include <rapidjson/document.h>

#include "jsonout/json_writer.h"
#include "mock/answers.h"
#include "mock/conversion_model.h"
#include "mock/ny_time.h"
#include "mock/tickers.h"

namespace ostrel::mock {

namespace {

constexpr const char* kInvalidKeyMessage = "ERROR: Invalid API Key.";

struct Answer {
  int status = 200;
  std::string body;
  std::string content_type = "application/json";
};

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string requestValue(const httplib::Request& req, const char* header, const char* param) {
  if (req.has_header(header)) return req.get_header_value(header);
  if (req.has_param(param)) return req.get_param_value(param);
  return std::string();
}

Fault faultFor(const httplib::Request& req, const ServiceState& state) {
  Fault fault = state.config.fault;
  const std::string chosen = requestValue(req, "X-Mock-Fault", "mock_fault");
  if (!chosen.empty()) parseFault(chosen, fault);
  return fault;
}

bool keyAccepted(const httplib::Request& req, const ServiceState& state, const char* scheme,
                 Fault fault) {
  if (fault == Fault::kBadKey) return false;
  const std::string value = req.get_header_value("Authorization");
  const std::string prefix = std::string(scheme) + " ";
  if (value.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string key = value.substr(prefix.size());
  const auto& keys = state.config.api_keys;
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Waits up to `ms`, returning early when the service stops.
void pause(ServiceState& state, int ms) {
  std::unique_lock<std::mutex> lock(state.stop_mutex);
  state.stop_signal.wait_for(lock, std::chrono::milliseconds(ms), [&] { return state.stopping; });
}

void send(const httplib::Request& req, httplib::Response& res, ServiceState& state, Answer answer,
          Fault fault) {
  if (fault == Fault::kSlow) pause(state, state.config.slow_ms);
  if (fault == Fault::kSilent) pause(state, state.config.silent_ms);
  applyBodyFault(fault, answer.status, answer.body, answer.content_type);
  res.status = answer.status;
  res.set_content(answer.body, answer.content_type.c_str());
  state.requests.fetch_add(1);
  if (state.config.verbose) {
    std::fprintf(stderr, "mock: %s %s -> %d (%zu bytes, fault %s)\n", req.method.c_str(),
                 req.path.c_str(), answer.status, answer.body.size(), faultName(fault));
  }
}

bool recordedAnswer(const httplib::Request& req, const ServiceState& state, Answer& answer) {
  std::string body;
  if (!state.recorded.find(req.path, body)) return false;
  answer.body = std::move(body);
  return true;
}

std::int64_t requestNow(const httplib::Request& req, const ServiceState& state) {
  return state.clock.nowFor(requestValue(req, "X-Mock-Time", "mock_time"));
}

Answer profileAnswer(const httplib::Request& req, ServiceState& state) {
  Answer a;
  const std::string ticker = req.matches[1];
  const std::string package = req.matches[2];
  const std::string segment = req.matches[3];
  const TickerSpec* spec = findTicker(upper(ticker));
  ProfileKind kind = ProfileKind::kFull;
  if (spec == nullptr) {
    a.status = 404;
    a.body = errorBody("Unknown ticker symbol: " + ticker);
  } else if (package != "classic" && package != "state") {
    a.status = 400;
    a.body = errorBody("Unknown package: " + package);
  } else if (!parseProfileKind(segment, kind)) {
    a.status = 400;
    a.body = errorBody("Unknown profile kind: " + segment);
  } else if (package == "classic" && isGreekKind(kind)) {
    a.status = 400;
    a.body = errorBody("Gamma and delta profiles are available in the State package only.");
  } else if (recordedAnswer(req, state, a)) {
  } else {
    const std::int64_t now = requestNow(req, state);
    if (isGreekKind(kind)) {
      a.body = greekAnswer(ticker, state.model.greekSnapshot(*spec, kind, now));
    } else {
      const bool with_oi = package == "classic" || kind == ProfileKind::kOne;
      a.body = gexAnswer(ticker, state.model.gexSnapshot(*spec, kind, now, with_oi));
    }
  }
  return a;
}

bool readRange(const httplib::Request& req, std::int64_t& start, std::int64_t& end) {
  if (!req.body.empty()) {
    rapidjson::Document doc;
    doc.Parse(req.body.c_str(), req.body.size());
    if (doc.HasParseError() || !doc.IsObject()) return false;
    auto s = doc.FindMember("start");
    auto e = doc.FindMember("end");
    if (s == doc.MemberEnd() || e == doc.MemberEnd() || !s->value.IsInt64() ||
        !e->value.IsInt64()) {
      return false;
    }
    start = s->value.GetInt64();
    end = e->value.GetInt64();
    return true;
  }
  if (!req.has_param("start") || !req.has_param("end")) return false;
  return parseClockText(req.get_param_value("start"), start) &&
         parseClockText(req.get_param_value("end"), end);
}

Answer historyRoute(const httplib::Request& req, ServiceState& state) {
  Answer a;
  const std::string ticker = req.matches[1];
  const TickerSpec* spec = findTicker(upper(ticker));
  std::int64_t start = 0, end = 0;
  if (spec == nullptr) {
    a.status = 404;
    a.body = errorBody("Unknown ticker symbol: " + ticker);
  } else if (recordedAnswer(req, state, a)) {
  } else if (!readRange(req, start, end)) {
    a.status = 400;
    a.body = errorBody("Expected a body {\"start\": S, \"end\": E} in Unix seconds.");
  } else {
    a.body = historyAnswer(state.model.majorsHistory(*spec, start, end, requestNow(req, state)));
  }
  return a;
}

Answer conversionRoute(const httplib::Request& req, ServiceState& state) {
  Answer a;
  const std::string ticker = req.get_param_value("ticker");
  const std::string future = req.get_param_value("future");
  const std::string model = req.get_param_value("model");
  if (ticker.empty() || future.empty() || model.empty()) {
    a.status = 400;
    a.body = errorBody("ticker, future and model are required.");
  } else if (!recordedAnswer(req, state, a)) {
    const ConversionResult r =
        convertToFuture(state.model, ticker, future, model, requestNow(req, state));
    a.body = conversionAnswer(ticker, future, r);
  }
  return a;
}

}  // namespace

void installRoutes(httplib::Server& server, ServiceState& state) {
  auto profile = [&state](const httplib::Request& req, httplib::Response& res) {
    const Fault fault = faultFor(req, state);
    if (!keyAccepted(req, state, "Basic", fault)) {
      send(req, res, state, Answer{401, messageBody(kInvalidKeyMessage), "application/json"},
           fault);
      return;
    }
    send(req, res, state, profileAnswer(req, state), fault);
  };
  auto history = [&state](const httplib::Request& req, httplib::Response& res) {
    const Fault fault = faultFor(req, state);
    if (!keyAccepted(req, state, "Basic", fault)) {
      send(req, res, state, Answer{401, messageBody(kInvalidKeyMessage), "application/json"},
           fault);
      return;
    }
    send(req, res, state, historyRoute(req, state), fault);
  };
  auto conversion = [&state](const httplib::Request& req, httplib::Response& res) {
    const Fault fault = faultFor(req, state);
    if (!keyAccepted(req, state, "Bearer", fault)) {
      send(req, res, state, Answer{401, errorBody("Invalid API Key."), "application/json"}, fault);
      return;
    }
    send(req, res, state, conversionRoute(req, state), fault);
  };
  auto health = [&state](const httplib::Request&, httplib::Response& res) {
    JsonWriter w(JsonWriter::Layout::one_line);
    w.beginObject().key("status").value("ok").key("now").integer(state.clock.now()).endObject();
    res.set_content(w.take(), "application/json");
  };

  const char* kHistory = R"(/v2/sierra/hist/([^/]+)/classic/gex_full/majors/7)";
  const char* kProfile = R"(/v2/sierra/([^/]+)/([^/]+)/([^/]+))";
  server.Get(kHistory, history).Post(kHistory, history);
  server.Get(kProfile, profile).Post(kProfile, profile);
  server.Get("/v2/futures/conversion", conversion);
  server.Get("/health", health);
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) res.set_content(errorBody("Not found"), "application/json");
  });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        res.status = 500;
        res.set_content(errorBody("Internal error"), "application/json");
      });
}

}  // namespace ostrel::mock

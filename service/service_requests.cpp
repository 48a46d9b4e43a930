#include "service/service_requests.h"

#include <utility>

#include "host/host_calls.h"
#include "host/http_header_field.h"
#include "host/out_of_memory.h"
#include "service/profile_url.h"
#include "study/state_keys.h"

namespace ostrel {

namespace {

// Throws std::bad_alloc when either text could not be stored: a request never goes out with a
// header missing.
void setHeader(HttpHeaderField& field, const char* name, HostString value) {
  field.Name = name;
  requireText(field.Name);
  requireText(value);
  field.Value = std::move(value);
}

}  // namespace

void sendProfileRequest(StudyHost& host, const char* url, const char* api_key) {
  if (url == nullptr || *url == '\0') throw std::bad_alloc();  // the URL's storage failed
  HttpHeaderField headers[4];
  setHeader(headers[0], "User-Agent", formatHostString("Sierra Chart %d", host.HostBuild));
  setHeader(headers[1], "X-ostrel-plugin", HostString(kPluginVersion));
  setHeader(headers[2], "Authorization",
            formatHostString("Basic %s", api_key != nullptr ? api_key : ""));
  setHeader(headers[3], "Accept", HostString("application/json"));
  if (host::startHttpRequest(host, url != nullptr ? url : "", "", headers, 4) != 0) {
    host::setStoredInt(host, key::profile_state, Pending);
  } else {
    host::logMessage(host, "Error making HTTP Request.", 1);
    host::setStoredInt(host, key::profile_state, Failed);
  }
}

HostString formatHistoryBody(std::int64_t start_seconds, std::int64_t end_seconds) noexcept {
  return formatHostString("{\"start\": %lld, \"end\": %lld}", static_cast<long long>(start_seconds),
                          static_cast<long long>(end_seconds));
}

void sendMajorsHistoryRequest(StudyHost& host, const char* ticker, const char* api_key,
                              std::int64_t start_seconds, std::int64_t end_seconds) {
  const HostString url = buildMajorsHistoryUrl(ticker);
  const HostString body = formatHistoryBody(start_seconds, end_seconds);
  requireText(url);
  requireText(body);
  HttpHeaderField headers[5];
  setHeader(headers[0], "Authorization",
            formatHostString("Basic %s", api_key != nullptr ? api_key : ""));
  setHeader(headers[1], "Accept", HostString("application/json"));
  setHeader(headers[2], "Content-Type", HostString("application/json"));
  setHeader(headers[3], "X-ostrel-plugin", HostString(kPluginVersion));
  setHeader(headers[4], "User-Agent", formatHostString("Sierra Chart %d (Hist)", host.HostBuild));
  if (host::startHttpRequest(host, url.c_str(), body.c_str(), headers, 5) != 0) {
    host::setStoredInt(host, key::history_state, Pending);
    host::setStoredTime(host, key::last_history_request, host.CurrentTime);
  } else {
    host::logMessage(host, "Ostrel: Error sending Majors history request.", 1);
    host::setStoredInt(host, key::history_state, Done);
  }
}

}  // namespace ostrel

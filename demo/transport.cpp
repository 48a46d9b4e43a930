#include "demo/transport.h"

#include <httplib.h>

namespace ostrel::demo {

namespace {
// The transport of the call in progress on this thread (the host record has no room for it).
thread_local DemoTransport* t_direct = nullptr;
}  // namespace

DemoTransport::DemoTransport(const std::string& host, int port, double timeout_seconds)
    : client_(std::make_unique<httplib::Client>(host, port)) {
  const auto whole = static_cast<time_t>(timeout_seconds);
  const auto micros = static_cast<time_t>((timeout_seconds - static_cast<double>(whole)) * 1e6);
  client_->set_connection_timeout(whole, micros);
  client_->set_read_timeout(whole, micros);
  client_->set_write_timeout(whole, micros);
  client_->set_keep_alive(true);
  client_->set_tcp_nodelay(true);
}

DemoTransport::~DemoTransport() {
  if (t_direct == this) t_direct = nullptr;
}

HttpOutcome DemoTransport::send(const std::string& path, const std::string* body,
                                const HeaderList& headers, const std::string& mock_time,
                                const std::string& fault) {
  httplib::Headers h;
  std::string content_type = "application/json";
  for (const auto& field : headers) {
    if (field.first == "Content-Type") {
      content_type = field.second;
      continue;
    }
    h.emplace(field.first, field.second);
  }
  if (!mock_time.empty()) h.emplace("X-Mock-Time", mock_time);
  if (!fault.empty()) h.emplace("X-Mock-Fault", fault);
  httplib::Result r = body != nullptr && !body->empty()
                          ? client_->Post(path.c_str(), h, *body, content_type.c_str())
                          : client_->Get(path.c_str(), h);
  HttpOutcome out;
  if (!r) {
    out.error = httplib::to_string(r.error());
    client_->stop();  // a half-read connection must not be reused
    return out;
  }
  out.ok = true;
  out.status = r->status;
  out.body = r->body;
  return out;
}

void DemoTransport::installDirect(StudyHost& host) {
  t_direct = this;
  host.Ops.DirectHttpsGet = &DemoTransport::directGet;
}

std::int32_t DemoTransport::directGet(StudyHost*, const DirectHttpsRequest* request,
                                      DirectHttpsResult* result) {
  if (result == nullptr) return 0;
  DemoTransport* self = t_direct;
  if (self == nullptr || request == nullptr || request->path == nullptr) {
    result->ok = 0;
    result->error.assign("demo transport not installed");
    return 0;
  }
  ++self->direct_requests_;
  HeaderList headers = sim::parseHeaderBlock(request->header_block);
  if (request->user_agent != nullptr) headers.emplace_back("User-Agent", request->user_agent);
  const HttpOutcome out = self->send(request->path, nullptr, headers, self->clock_, "");
  result->ok = out.ok ? 1 : 0;
  result->status = static_cast<std::uint32_t>(out.status);
  result->body.assign(out.body.c_str(), out.body.size());
  if (!out.ok) {
    ++self->direct_failures_;
    result->error.assign(("request to the local service failed: " + out.error).c_str());
  }
  return result->ok;
}

std::string pathOfUrl(const std::string& url) {
  const std::size_t scheme = url.find("://");
  if (scheme == std::string::npos) return url;
  const std::size_t slash = url.find('/', scheme + 3);
  return slash == std::string::npos ? std::string("/") : url.substr(slash);
}

std::string hostAnswerText(const HttpOutcome& outcome) {
  if (!outcome.ok || outcome.status >= 500) return "HTTP_REQUEST_ERROR";
  if (outcome.body.empty()) return "EMPTY_RESPONSE";
  return outcome.body;
}

}  // namespace ostrel::demo

#include "soak/service.h"

#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "mock/faults.h"
#include "mock/mock_service.h"
#include "sim/header_block.h"

namespace ostrel::soak {

const char* const kSoakFaults[kSoakFaultModes] = {"slow",   "silent", "truncated", "404",
                                                  "broken", "badkey", "500"};

namespace {

std::string pathOf(const std::string& url) {
  const std::size_t scheme = url.find("://");
  if (scheme == std::string::npos) return url;
  const std::size_t slash = url.find('/', scheme + 3);
  return slash == std::string::npos ? std::string("/") : url.substr(slash);
}

bool writeAll(int fd, const void* data, std::size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The child: serves until the parent closes the control pipe (or dies).
[[noreturn]] void serveMock(const SoakOptions& o, int report_fd, int control_fd) {
  signal(SIGPIPE, SIG_IGN);
  mock::ServiceConfig config;
  config.seed = o.seed;
  config.speed = 0.0;
  config.api_keys = {o.api_key};
  config.slow_ms = o.slow_ms;
  config.silent_ms = o.silent_ms;
  int port = -1;
  {
    mock::MockService service(config);
    std::string error;
    if (service.start(error)) port = service.port();
    writeAll(report_fd, &port, sizeof port);
    ::close(report_fd);
    if (port > 0) {
      char c = 0;
      while (true) {
        const ssize_t n = ::read(control_fd, &c, 1);
        if (n == 0 || (n < 0 && errno != EINTR)) break;
      }
      service.stop();
      service.wait();
    }
  }
  _exit(port > 0 ? 0 : 1);
}

}  // namespace

SoakService::SoakService(const SoakOptions& options) : options_(options) {}

SoakService::~SoakService() {
  client_.reset();
  if (control_ >= 0) ::close(control_);
  if (child_ > 0) {
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
  }
}

bool SoakService::start(std::string& error) {
  signal(SIGPIPE, SIG_IGN);
  int report[2];
  int control[2];
  if (::pipe(report) != 0) {
    error = "pipe failed";
    return false;
  }
  if (::pipe(control) != 0) {
    ::close(report[0]);
    ::close(report[1]);
    error = "pipe failed";
    return false;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    error = "fork failed";
    return false;
  }
  if (pid == 0) {
    ::close(report[0]);
    ::close(control[1]);
    serveMock(options_, report[1], control[0]);
  }
  child_ = pid;
  ::close(report[1]);
  ::close(control[0]);
  control_ = control[1];
  int port = -1;
  std::size_t got = 0;
  auto* p = reinterpret_cast<char*>(&port);
  while (got < sizeof port) {
    const ssize_t n = ::read(report[0], p + got, sizeof port - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(report[0]);
  if (got != sizeof port || port <= 0) {
    error = "the mock service did not start";
    return false;
  }
  client_ = std::make_unique<httplib::Client>("127.0.0.1", port);
  const auto whole = static_cast<time_t>(options_.timeout_seconds);
  const auto micros =
      static_cast<time_t>((options_.timeout_seconds - static_cast<double>(whole)) * 1e6);
  client_->set_connection_timeout(whole, micros);
  client_->set_read_timeout(whole, micros);
  client_->set_write_timeout(whole, micros);
  client_->set_keep_alive(true);
  client_->set_tcp_nodelay(true);
  return true;
}

std::string SoakService::chooseFault(int kind) {
  const long n = ++requests_[kind];
  const int every = kind == kSoakProfile   ? options_.profile_fault_every
                    : kind == kSoakHistory ? options_.history_fault_every
                                           : options_.conversion_fault_every;
  if (every <= 0 || n % every != 0) return std::string();
  const int mode = static_cast<int>(turn_[kind]++ % kSoakFaultModes);
  ++faults_.injected[kind][mode];
  awaiting_[kind][mode] = true;
  if (counters_ != nullptr) ++counters_->faults;
  return kSoakFaults[mode];
}

void SoakService::noteOutcome(int kind, const std::string& fault, bool success) {
  if (!fault.empty() || !success) return;
  for (int m = 0; m < kSoakFaultModes; ++m) {
    if (awaiting_[kind][m]) {
      awaiting_[kind][m] = false;
      ++faults_.survived[kind][m];
    }
  }
}

SoakService::Outcome SoakService::send(const std::string& path, const std::string* body,
                                       const sim::HeaderList& headers, std::int64_t unix_now,
                                       const std::string& fault) {
  httplib::Headers h;
  for (const auto& field : headers) {
    if (field.first != "Content-Type") h.emplace(field.first, field.second);
  }
  h.emplace("X-Mock-Time", std::to_string(unix_now));
  if (!fault.empty()) h.emplace("X-Mock-Fault", fault);
  httplib::Result r = body != nullptr && !body->empty()
                          ? client_->Post(path, h, *body, "application/json")
                          : client_->Get(path, h);
  Outcome out;
  if (!r) {
    out.error = httplib::to_string(r.error());
    client_->stop();  // a half-read connection must not be reused
    return out;
  }
  out.ok = true;
  out.status = r->status;
  out.body = std::move(r->body);
  return out;
}

CarriedAnswer SoakService::carry(const sim::RequestRecord& request, std::int64_t unix_now) {
  const bool history = request.url.find("/hist/") != std::string::npos;
  const int kind = history ? kSoakHistory : kSoakProfile;
  CarriedAnswer answer;
  answer.fault = chooseFault(kind);
  const Outcome out = send(pathOf(request.url), request.body ? &*request.body : nullptr,
                           request.headers, unix_now, answer.fault);
  answer.clean = out.ok && out.status == 200 && answer.fault.empty() && !out.body.empty();
  if (!out.ok || out.status >= 500) {
    answer.text = "HTTP_REQUEST_ERROR";
  } else if (out.body.empty()) {
    answer.text = "EMPTY_RESPONSE";
  } else {
    answer.text = out.body;
  }
  noteOutcome(kind, answer.fault, out.ok && out.status == 200);
  return answer;
}

bool SoakService::direct(const DirectHttpsRequest& request, std::int64_t unix_now,
                         DirectHttpsResult& result) {
  sim::HeaderList headers = sim::parseHeaderBlock(request.header_block);
  if (request.user_agent != nullptr) headers.emplace_back("User-Agent", request.user_agent);
  const std::string fault = chooseFault(kSoakConversion);
  const Outcome out = send(request.path, nullptr, headers, unix_now, fault);
  result.ok = out.ok ? 1 : 0;
  result.status = static_cast<std::uint32_t>(out.status);
  result.body.assign(out.body.c_str(), out.body.size());
  if (!out.ok) result.error.assign(("no answer from the local service: " + out.error).c_str());
  noteOutcome(kSoakConversion, fault, out.ok && out.status == 200);
  return out.ok;
}

}  // namespace ostrel::soak

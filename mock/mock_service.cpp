#include "mock/mock_service.h"

#include <httplib.h>

namespace ostrel::mock {

MockService::MockService(const ServiceConfig& config) : state_(config) {}

MockService::~MockService() {
  stop();
  wait();
}

bool MockService::start(std::string& error) {
  const ServiceConfig& c = state_.config;
  const bool tls = !c.cert_file.empty() && !c.key_file.empty();
  if (tls) {
    server_ = std::make_unique<httplib::SSLServer>(c.cert_file.c_str(), c.key_file.c_str());
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  if (!server_->is_valid()) {
    error = "cannot load the certificate or key";
    return false;
  }
  installRoutes(*server_, state_);
  server_->set_tcp_nodelay(true);
  server_->set_read_timeout(5, 0);
  server_->set_write_timeout(5, 0);
  if (c.port == 0) {
    port_ = server_->bind_to_any_port(c.host);
  } else {
    port_ = server_->bind_to_port(c.host, c.port) ? c.port : -1;
  }
  if (port_ <= 0) {
    error = "cannot bind " + c.host + ":" + std::to_string(c.port);
    return false;
  }
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  return true;
}

void MockService::stop() {
  {
    std::lock_guard<std::mutex> lock(state_.stop_mutex);
    state_.stopping = true;
  }
  state_.stop_signal.notify_all();
  if (server_) server_->stop();
}

void MockService::wait() {
  if (thread_.joinable()) thread_.join();
}

std::string MockService::baseUrl() const {
  const bool tls = !state_.config.cert_file.empty() && !state_.config.key_file.empty();
  return std::string(tls ? "https://" : "http://") + state_.config.host + ":" +
         std::to_string(port_);
}

}  // namespace ostrel::mock

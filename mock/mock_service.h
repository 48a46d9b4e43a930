// MockService: the mock data service running on its own thread (in-process use by the demo and
// the tests, and the body of ostrel-mock-service).
//
// start() binds (port 0 picks a free port) and serves until stop() or destruction; stop() also
// cuts short any request held by the slow or silent fault. HTTPS is used when both a
// certificate and a key file are configured.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "mock/routes.h"
#include "mock/service_config.h"

namespace ostrel::mock {

class MockService {
 public:
  explicit MockService(const ServiceConfig& config);
  ~MockService();
  MockService(const MockService&) = delete;
  MockService& operator=(const MockService&) = delete;

  // False, with a reason, when the address cannot be bound or the certificate not loaded.
  bool start(std::string& error);
  void stop();
  // Blocks until the server thread ends (after stop()).
  void wait();

  int port() const noexcept { return port_; }
  std::string baseUrl() const;
  ServiceState& state() noexcept { return state_; }

 private:
  ServiceState state_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace ostrel::mock

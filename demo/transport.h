// DemoTransport: the demo host's network. It carries the study's requests to the local mock
// service over real HTTP on loopback, whatever host name the study put in its URLs, and adds the
// simulated clock (X-Mock-Time) and any injected fault (X-Mock-Fault) to each request.
//
// A request with a body is sent as POST, one without as GET. How the answer reaches the study is
// the host's rule (hostAnswerText): no answer or a 5xx status gives "HTTP_REQUEST_ERROR", an
// empty body "EMPTY_RESPONSE", anything else the body as received.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/study_host.h"
#include "sim/header_block.h"

namespace httplib {
class Client;
}

namespace ostrel::demo {

struct HttpOutcome {
  bool ok = false;  // an answer was received
  int status = 0;
  std::string body;
  std::string error;  // when !ok
};

using sim::HeaderList;

class DemoTransport {
 public:
  DemoTransport(const std::string& host, int port, double timeout_seconds);
  ~DemoTransport();

  HttpOutcome send(const std::string& path, const std::string* body, const HeaderList& headers,
                   const std::string& mock_time, const std::string& fault);

  // Installs itself as the host's direct request (StudyHost::DirectHttpsGet) for the calling
  // thread; the study's futures conversion then reaches the mock with this clock text.
  void installDirect(StudyHost& host);
  void setClock(std::string mock_time) { clock_ = std::move(mock_time); }
  long directRequests() const noexcept { return direct_requests_; }
  long directFailures() const noexcept { return direct_failures_; }

  static std::int32_t directGet(StudyHost* host, const DirectHttpsRequest* request,
                                DirectHttpsResult* result);

 private:
  std::unique_ptr<httplib::Client> client_;
  std::string clock_;
  long direct_requests_ = 0;
  long direct_failures_ = 0;
};

// "https://host/v2/x?y" -> "/v2/x?y"; a text without a scheme is taken as a path.
std::string pathOfUrl(const std::string& url);
std::string hostAnswerText(const HttpOutcome& outcome);

}  // namespace ostrel::demo

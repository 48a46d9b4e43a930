// The libcurl transport against real TLS servers on the loopback interface.
#if !defined(_WIN32)

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "service/https_client.h"
#include "service/https_transport.h"
#include "tests/service/tls_test_certs.h"

namespace ostrel {
namespace {

using testing::ServerIdentity;
using testing::TestCa;

struct SeenRequest {
  std::string target;
  std::string authorization;
  std::string accept;
  std::string plugin;
  std::string user_agent;
};

// An HTTPS server on 127.0.0.1 with one route per behaviour the client must handle.
class LoopbackServer {
 public:
  explicit LoopbackServer(const ServerIdentity& id) : server_(id.cert.get(), id.key.get()) {
    server_.Get("/ok", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("{\"multiplier\":1.5}", "application/json");
    });
    server_.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("{\"error\":\"no such future\"}", "application/json");
    });
    server_.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("", "application/json");
    });
    server_.Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider(
          "application/json", [](std::size_t offset, httplib::DataSink& sink) {
            static const char* parts[] = {"{\"additive\"", ":", "12.5}"};
            if (offset == 0) {
              for (const char* part : parts) {
                sink.write(part, std::strlen(part));
              }
            }
            sink.done();
            return true;
          });
    });
    server_.Get("/nul", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string("ab\0cd", 5), "text/plain");
    });
    server_.Get("/truncated", [](const httplib::Request&, httplib::Response& res) {
      // Promises 100 bytes, sends 10, then drops the connection.
      res.set_content_provider(100, "text/plain",
                               [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                 sink.write("0123456789", 10);
                                 return false;
                               });
    });
    server_.Get("/big", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(kMaxBodyBytes + 4096, 'x'), "text/plain");
    });
    server_.Get("/redirect", [this](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("https://127.0.0.1:" + std::to_string(port_) + "/ok");
    });
    server_.Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
      std::unique_lock<std::mutex> lock(mutex_);
      released_.wait_for(lock, std::chrono::seconds(15), [this] { return release_; });
      res.set_content("late", "text/plain");
    });
    server_.Get("/trickle", [this](const httplib::Request&, httplib::Response& res) {
      // Promises 1000 bytes, sends one every 300 ms for seven, then stalls: the reads never
      // wait a whole phase until the last one, which starts just before the total runs out.
      res.set_content_provider(
          1000, "text/plain", [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            std::unique_lock<std::mutex> lock(mutex_);
            const auto pause =
                offset < 7 ? std::chrono::milliseconds(300) : std::chrono::seconds(15);
            if (released_.wait_for(lock, pause, [this] { return release_; })) return false;
            sink.write("x", 1);
            return true;
          });
    });
    server_.Get("/v2/futures/conversion", [this](const httplib::Request& req,
                                                 httplib::Response& res) {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_ = {req.target, req.get_header_value("Authorization"), req.get_header_value("Accept"),
               req.get_header_value("X-ostrel-plugin"), req.get_header_value("User-Agent")};
      res.set_content("{\"multiplier\":1,\"additive\":40.25}", "application/json");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~LoopbackServer() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      release_ = true;
    }
    released_.notify_all();
    server_.stop();
    thread_.join();
  }
  int port() const { return port_; }
  SeenRequest seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  httplib::SSLServer server_;
  int port_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool release_ = false;
  SeenRequest seen_;
};

// A TCP socket that listens but never accepts: the kernel completes the connect, and the TLS
// handshake then waits for an answer that never comes. With `listening` false the port is
// closed again, so nothing answers there at all.
class DeadPort {
 public:
  explicit DeadPort(bool listening) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    if (listening) {
      ::listen(fd_, 4);
    } else {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~DeadPort() {
    if (fd_ >= 0) ::close(fd_);
  }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

class CurlTransport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/ostrel-tls-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    trusted_ = new TestCa(TestCa::make(dir_ + "/trusted.pem", "ostrel test CA", 1));
    stranger_ = new TestCa(TestCa::make(dir_ + "/stranger.pem", "unknown CA", 2));
    good_ = new ServerIdentity(ServerIdentity::make(*trusted_, "DNS:localhost,IP:127.0.0.1", 3));
    foreign_ =
        new ServerIdentity(ServerIdentity::make(*stranger_, "DNS:localhost,IP:127.0.0.1", 4));
    misnamed_ = new ServerIdentity(ServerIdentity::make(*trusted_, "DNS:elsewhere.example", 5));
  }
  static void TearDownTestSuite() {
    std::remove(trusted_->pem_path.c_str());
    std::remove(stranger_->pem_path.c_str());
    ::rmdir(dir_.c_str());
    delete misnamed_;
    delete foreign_;
    delete good_;
    delete stranger_;
    delete trusted_;
  }

  static DirectHttpsResult get(int port, const char* path, TransportOptions options = {}) {
    const DirectHttpsRequest request{"localhost", port, path, "Accept: application/json\r\n",
                                     "test-agent"};
    options.ca_file = trusted_->pem_path.c_str();
    DirectHttpsResult result;
    httpsGet(request, options, result);
    return result;
  }

  // Bounds short enough for stalling servers to take a second or two, not twenty.
  static TransportOptions shortBounds() {
    TransportOptions options;
    options.phase_timeout_ms = kShortPhaseMs;
    options.total_timeout_ms = kShortTotalMs;
    return options;
  }
  static constexpr int kShortPhaseMs = 1000;
  static constexpr int kShortTotalMs = 2500;

  static std::string dir_;
  static TestCa* trusted_;
  static TestCa* stranger_;
  static ServerIdentity* good_;
  static ServerIdentity* foreign_;
  static ServerIdentity* misnamed_;
};

std::string CurlTransport::dir_;
TestCa* CurlTransport::trusted_ = nullptr;
TestCa* CurlTransport::stranger_ = nullptr;
ServerIdentity* CurlTransport::good_ = nullptr;
ServerIdentity* CurlTransport::foreign_ = nullptr;
ServerIdentity* CurlTransport::misnamed_ = nullptr;

TEST_F(CurlTransport, ResponsesAreReturnedWithStatusAndBodyWhateverTheStatus) {
  LoopbackServer server(*good_);
  struct Case {
    const char* path;
    std::uint32_t status;
    const char* body;
  };
  const Case cases[] = {
      {"/ok", 200, "{\"multiplier\":1.5}"},
      {"/missing", 404, "{\"error\":\"no such future\"}"},
      {"/empty", 200, ""},
      {"/chunked", 200, "{\"additive\":12.5}"},
      {"/nul", 200, "ab"},     // the body ends at the first NUL byte
      {"/redirect", 302, ""},  // not followed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const DirectHttpsResult result = get(server.port(), c.path);
    EXPECT_EQ(result.ok, 1) << result.error.c_str();
    EXPECT_EQ(result.status, c.status);
    EXPECT_STREQ(result.body.c_str(), c.body);
    EXPECT_STREQ(result.error.c_str(), "");
  }
}

// A body that fails part-way still counts as a response: status as received, the bytes read.
TEST_F(CurlTransport, BodyCutShortOrPastTheCapKeepsWhatWasRead) {
  LoopbackServer server(*good_);
  const DirectHttpsResult truncated = get(server.port(), "/truncated");
  EXPECT_EQ(truncated.ok, 1);
  EXPECT_EQ(truncated.status, 200u);
  EXPECT_STREQ(truncated.body.c_str(), "0123456789");

  const DirectHttpsResult big = get(server.port(), "/big");
  EXPECT_EQ(big.ok, 1);
  EXPECT_EQ(big.status, 200u);
  EXPECT_EQ(big.body.size(), kMaxBodyBytes);
}

TEST_F(CurlTransport, CertificatesThatDoNotVerifyAreRefused) {
  for (const ServerIdentity* id : {foreign_, misnamed_}) {
    LoopbackServer server(*id);
    const DirectHttpsResult result = get(server.port(), "/ok");
    EXPECT_EQ(result.ok, 0);
    EXPECT_EQ(result.status, 0u);
    EXPECT_STREQ(result.body.c_str(), "");
    EXPECT_STREQ(result.error.c_str(),
                 "curl_easy_perform failed during the TLS handshake (CURLcode=60: SSL peer "
                 "certificate or SSH remote key was not OK)");
  }
}

TEST_F(CurlTransport, NothingListeningFailsAtOnce) {
  DeadPort closed(/*listening=*/false);
  const auto started = std::chrono::steady_clock::now();
  const DirectHttpsResult result = get(closed.port(), "/ok");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(result.ok, 0);
  EXPECT_EQ(result.status, 0u);
  EXPECT_STREQ(
      result.error.c_str(),
      "curl_easy_perform failed while connecting (CURLcode=7: Couldn't connect to server)");
}

// A peer that stalls in a phase costs that phase's time-out, and the failure names the phase.
TEST_F(CurlTransport, SilentPeersTimeOutAfterOnePhase) {
  DeadPort mute(/*listening=*/true);  // never completes the TLS handshake
  LoopbackServer server(*good_);      // completes it, then never answers the request
  const struct {
    int port;
    const char* error;
  } cases[] = {
      {mute.port(),
       "curl_easy_perform failed during the TLS handshake (CURLcode=28: Timeout was reached)"},
      {server.port(),
       "curl_easy_perform failed while waiting for the answer (CURLcode=28: Timeout was "
       "reached)"},
  };
  for (const auto& c : cases) {
    const auto started = std::chrono::steady_clock::now();
    const DirectHttpsResult result = get(c.port, "/silent", shortBounds());
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_GE(elapsed, std::chrono::milliseconds(kShortPhaseMs - 100));
    // libcurl samples the transfer speed once a second, so a stalled wait for the answer ends
    // up to a second after the phase time-out; always before the total.
    EXPECT_LT(elapsed, std::chrono::milliseconds(kShortTotalMs));
    EXPECT_EQ(result.ok, 0);
    EXPECT_EQ(result.status, 0u);
    EXPECT_STREQ(result.error.c_str(), c.error);
  }
}

// Reads that each arrive within the phase time-out cannot stretch the exchange past the total;
// the read under way when it runs out gets only what remained.
TEST_F(CurlTransport, TotalBoundHoldsWhenTheBodyTrickles) {
  LoopbackServer server(*good_);
  const auto started = std::chrono::steady_clock::now();
  const DirectHttpsResult result = get(server.port(), "/trickle", shortBounds());
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_GE(elapsed, std::chrono::milliseconds(kShortTotalMs - 100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(kShortTotalMs + 700));
  EXPECT_EQ(result.ok, 1);  // the answer came: status and what was read
  EXPECT_EQ(result.status, 200u);
  const std::string body = result.body.c_str();
  EXPECT_GE(body.size(), 4u);  // seven by the server's clock; fewer on a busy machine
  EXPECT_LE(body.size(), 7u);
  EXPECT_EQ(body.find_first_not_of('x'), std::string::npos);
}

TEST_F(CurlTransport, ConversionRequestReachesTheServerAsComposed) {
  LoopbackServer server(*good_);
  StudyHost host;
  TransportOptions options;
  options.server = "localhost";
  options.port = server.port();
  options.ca_file = trusted_->pem_path.c_str();
  const ConversionResult result =
      fetchFuturesConversion(host, "ES_SPX", "ESM5", "key-123", options);
  ASSERT_TRUE(result.ok) << result.error.c_str();
  EXPECT_EQ(result.status, 200u);
  EXPECT_STREQ(result.body.c_str(), "{\"multiplier\":1,\"additive\":40.25}");
  const SeenRequest seen = server.seen();
  EXPECT_EQ(seen.target, "/v2/futures/conversion?ticker=es_spx&future=ESM5&model=additive");
  EXPECT_EQ(seen.authorization, "Bearer key-123");
  EXPECT_EQ(seen.accept, "application/json");
  EXPECT_EQ(seen.plugin, "v2.2026.03.05");
  EXPECT_EQ(seen.user_agent, "SierraChart-Ostrel/1.0");
}

}  // namespace
}  // namespace ostrel

#endif

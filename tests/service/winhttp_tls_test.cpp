// The WinHTTP transport against real TLS servers on loopback (Windows builds only).
//
// The servers run outside the test (scripts/tls-test-server, started by the ctest fixture);
// OSTREL_TLS_DIR names the directory holding their ports and the test CA. The suite adds that CA
// to the machine's root store before any certificate is checked in this process and removes it
// afterwards. Requests go to `localhost`: the certificate names no address, and Wine does not
// match addresses against certificates anyway.
//
// Before any request the suite checks what the requests rely on and names what is missing: that
// `localhost` resolves, and that the trusted server's certificate verifies under the test CA
// (the self-signed one only for want of a trusted root), so that a refusal can only be the
// transport's.
#if defined(_WIN32)

// winsock2.h before windows.h, which would otherwise bring in the old winsock.h.
#include <winsock2.h>

#include <windows.h>
#include <ws2tcpip.h>
// windows.h first: wincrypt.h needs its types.
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <ios>
#include <iterator>
#include <string>
#include <vector>

#include "service/https_transport.h"

namespace ostrel {
namespace {

std::string tlsDir() {
  const char* dir = std::getenv("OSTREL_TLS_DIR");
  return dir != nullptr ? dir : "";
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::int32_t portOf(const char* name) {
  return std::atoi(readFile(tlsDir() + "/" + name + ".port").c_str());
}

// Whether `localhost` resolves, the way WinHTTP resolves it.
bool localhostResolves() {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
  ADDRINFOW hints{};
  hints.ai_socktype = SOCK_STREAM;
  ADDRINFOW* found = nullptr;
  const bool resolves = GetAddrInfoW(L"localhost", nullptr, &hints, &found) == 0;
  if (found != nullptr) FreeAddrInfoW(found);
  WSACleanup();
  return resolves;
}

// The error status of the chain the system builds for the DER certificate at `path`, for server
// authentication; `kNoChain` when none can be built.
constexpr DWORD kNoChain = 0xFFFFFFFF;
DWORD chainErrors(const std::string& path) {
  const std::string der = readFile(path);
  PCCERT_CONTEXT cert = CertCreateCertificateContext(
      X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()));
  if (cert == nullptr) return kNoChain;
  char server_auth[] = szOID_PKIX_KP_SERVER_AUTH;
  char* usages[] = {server_auth};
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof para;
  para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  para.RequestedUsage.Usage.cUsageIdentifier = 1;
  para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  DWORD errors = kNoChain;
  if (CertGetCertificateChain(/*hChainEngine=*/nullptr, cert, /*pTime=*/nullptr,
                              /*hAdditionalStore=*/nullptr, &para, /*dwFlags=*/0,
                              /*pvReserved=*/nullptr, &chain)) {
    errors = chain->TrustStatus.dwErrorStatus;
    CertFreeCertificateChain(chain);
  }
  CertFreeCertificateContext(cert);
  return errors;
}

class WinHttpTls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (tlsDir().empty()) return;
    resolves_ = localhostResolves();
    const std::string der = readFile(tlsDir() + "/ca.der");
    store_ =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (store_ == nullptr || der.empty()) return;
    CertAddEncodedCertificateToStore(
        store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
        static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &ca_);
    // Wine keeps additions in memory until the store is committed or closed; the chain engine
    // reads the registry.
    CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    // After the commit: this builds the process' chain engine, which WinHTTP uses too.
    trusted_errors_ = chainErrors(tlsDir() + "/leaf.der");
  }
  static void TearDownTestSuite() {
    if (ca_ != nullptr) CertDeleteCertificateFromStore(ca_);  // frees the context too
    ca_ = nullptr;
    if (store_ != nullptr) CertCloseStore(store_, 0);
    store_ = nullptr;
  }
  void SetUp() override {
    if (tlsDir().empty()) GTEST_SKIP() << "OSTREL_TLS_DIR not set (run through ctest)";
    ASSERT_TRUE(resolves_) << "localhost does not resolve on this machine: /etc/hosts needs a "
                              "'127.0.0.1 localhost' line (scripts/setup adds it when missing)";
    ASSERT_NE(ca_, nullptr) << "the test CA could not be added to the root store";
    ASSERT_EQ(trusted_errors_, static_cast<DWORD>(CERT_TRUST_NO_ERROR))
        << "the trusted server's certificate does not verify under the test CA (chain error "
           "status 0x"
        << std::hex << trusted_errors_ << "), so the requests to it could not succeed";
  }

  static DirectHttpsResult get(const char* server_name, const char* path,
                               TransportOptions options = {}) {
    const DirectHttpsRequest request{"api.invalid", 443, path, "Accept: application/json\r\n",
                                     "SierraChart-Ostrel/1.0"};
    options.server = "localhost";
    options.port = portOf(server_name);
    DirectHttpsResult result;
    httpsGet(request, options, result);
    return result;
  }

  static HCERTSTORE store_;
  static PCCERT_CONTEXT ca_;
  static bool resolves_;
  static DWORD trusted_errors_;
};

HCERTSTORE WinHttpTls::store_ = nullptr;
PCCERT_CONTEXT WinHttpTls::ca_ = nullptr;
bool WinHttpTls::resolves_ = false;
DWORD WinHttpTls::trusted_errors_ = kNoChain;

TEST_F(WinHttpTls, AnswersWithStatusAndBody) {
  struct Case {
    const char* path;
    std::uint32_t status;
    const char* body;
  };
  const Case cases[] = {
      {"/ok", 200, "{\"multiplier\": 1.0025, \"premium\": 31.5}"},
      {"/missing", 404, "{\"error\": \"Unknown ticker symbol\"}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const DirectHttpsResult result = get("trusted", c.path);
    EXPECT_EQ(result.ok, 1) << result.error.c_str();
    EXPECT_EQ(result.status, c.status);
    EXPECT_STREQ(result.body.c_str(), c.body);
    EXPECT_STREQ(result.error.c_str(), "");
  }
}

TEST_F(WinHttpTls, BodyThatStopsPartWayKeepsWhatArrived) {
  const auto started = std::chrono::steady_clock::now();
  const DirectHttpsResult result = get("trusted", "/partial");
  // The server closes after a few bytes of the announced 1000; the read ends with the close or,
  // under Wine, which does not notice it, with the receive time-out.
  EXPECT_LT(std::chrono::steady_clock::now() - started,
            std::chrono::milliseconds(2 * kPhaseTimeoutMs));
  EXPECT_EQ(result.ok, 1) << result.error.c_str();
  EXPECT_EQ(result.status, 200u);
  EXPECT_STREQ(result.body.c_str(), "{\"multiplier\": 1.00");
}

// Servers that stall once the TLS handshake is done: before the answer (one phase time-out,
// reported as a send/receive failure) and in the body (bytes every 300 ms, then nothing: the
// read under way when the total runs out gets only what remained). Short bounds keep it fast.
TEST_F(WinHttpTls, StallsEndWithinTheTotalBound) {
  // The trickle stalls some 2.1 s after the request: a read that took a whole phase from there
  // would end past 3.6 s.
  constexpr int kPhaseMs = 1500;
  constexpr int kTotalMs = 2500;
  TransportOptions options;
  options.phase_timeout_ms = kPhaseMs;
  options.total_timeout_ms = kTotalMs;

  auto started = std::chrono::steady_clock::now();
  const DirectHttpsResult silent = get("silent", "/x", options);
  auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_GE(elapsed, std::chrono::milliseconds(kPhaseMs - 100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(kTotalMs + 700));
  EXPECT_EQ(silent.ok, 0);
  EXPECT_EQ(silent.status, 0u);
  // ERROR_WINHTTP_TIMEOUT on Windows; Wine passes on the socket's WSAETIMEDOUT.
  const std::string error = silent.error.c_str();
  EXPECT_TRUE(error == "WinHttpSendRequest/ReceiveResponse failed (GetLastError=12002)" ||
              error == "WinHttpSendRequest/ReceiveResponse failed (GetLastError=10060)")
      << error;

  started = std::chrono::steady_clock::now();
  const DirectHttpsResult trickle = get("trickle", "/x", options);
  elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_GE(elapsed, std::chrono::milliseconds(kTotalMs - 100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(kTotalMs + 500));
  EXPECT_EQ(trickle.ok, 1) << trickle.error.c_str();
  EXPECT_EQ(trickle.status, 200u);
  const std::string body = trickle.body.c_str();
  EXPECT_GE(body.size(), 4u);  // seven by the server's clock; fewer on a busy machine
  EXPECT_LE(body.size(), 7u);
  EXPECT_EQ(body.find_first_not_of('x'), std::string::npos);
}

TEST_F(WinHttpTls, UntrustedCertificateIsRefused) {
  // Refused for its root alone: anything else wrong with it would make this test pass for the
  // wrong reason.
  ASSERT_EQ(chainErrors(tlsDir() + "/self.der"), static_cast<DWORD>(CERT_TRUST_IS_UNTRUSTED_ROOT));
  const DirectHttpsResult result = get("untrusted", "/ok");
  EXPECT_EQ(result.ok, 0);
  EXPECT_EQ(result.status, 0u);
  EXPECT_STREQ(result.body.c_str(), "");
  // ERROR_WINHTTP_SECURE_FAILURE on Windows; Wine reports ERROR_WINHTTP_SECURE_CHANNEL_ERROR.
  const std::string error = result.error.c_str();
  EXPECT_TRUE(error.find("(GetLastError=12175)") != std::string::npos ||
              error.find("(GetLastError=12157)") != std::string::npos)
      << error;
}

}  // namespace
}  // namespace ostrel

#endif

// The WinHTTP transport and its UTF-16 conversion (Windows builds only).
#if defined(_WIN32)

#include <winsock2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "service/https_transport.h"
#include "service/utf8_to_utf16.h"

namespace ostrel {
namespace {

TEST(Utf8ToUtf16, ConvertsWithoutTheTerminator) {
  EXPECT_EQ(utf8ToUtf16(""), std::wstring());
  EXPECT_EQ(utf8ToUtf16(nullptr), std::wstring());
  EXPECT_EQ(utf8ToUtf16("GET"), std::wstring(L"GET"));
  EXPECT_EQ(utf8ToUtf16("\xC3\xA9\xE2\x82\xAC"), std::wstring(L"\u00E9\u20AC"));
  EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80").size(), 2u);  // one surrogate pair
  EXPECT_EQ(utf8ToUtf16("a\r\nb").size(), 4u);
}

TEST(WinHttpTransport, NothingListeningIsASendFailureWithTheWindowsError) {
  // Port 1 on the loopback interface has no listener on any test machine.
  const DirectHttpsRequest request{"127.0.0.1", 1, "/v2/futures/conversion?ticker=spx",
                                   "Accept: application/json\r\n", "SierraChart-Ostrel/1.0"};
  DirectHttpsResult result;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(httpsGet(request, TransportOptions{}, result), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(12));
  EXPECT_EQ(result.ok, 0);
  EXPECT_EQ(result.status, 0u);
  EXPECT_STREQ(result.body.c_str(), "");
  const std::string error = result.error.c_str();
  EXPECT_EQ(error.rfind("WinHttpSendRequest/ReceiveResponse failed (GetLastError=", 0), 0u)
      << error;
  EXPECT_EQ(error.back(), ')');
}

// A socket that listens and never accepts: the TLS handshake waits for an answer that never comes.
TEST(WinHttpTransport, SilentPeerTimesOutAfterOnePhase) {
  WSADATA wsa;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  SOCKET mute = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  ASSERT_EQ(bind(mute, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(getsockname(mute, reinterpret_cast<sockaddr*>(&address), &size), 0);
  ASSERT_EQ(listen(mute, 4), 0);

  const DirectHttpsRequest request{"127.0.0.1", ntohs(address.sin_port), "/x",
                                   "Accept: application/json\r\n", "SierraChart-Ostrel/1.0"};
  // Short bounds keep the test fast; the total is well below two phases.
  TransportOptions options;
  options.phase_timeout_ms = 1000;
  options.total_timeout_ms = 1500;
  DirectHttpsResult result;
  const auto started = std::chrono::steady_clock::now();
  httpsGet(request, options, result);
  const auto elapsed = std::chrono::steady_clock::now() - started;
  closesocket(mute);
  WSACleanup();
  EXPECT_GE(elapsed, std::chrono::milliseconds(options.phase_timeout_ms - 100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(options.total_timeout_ms + 700));
  EXPECT_EQ(result.ok, 0);
  EXPECT_EQ(std::string(result.error.c_str()).rfind("WinHttpSendRequest/ReceiveResponse failed", 0),
            0u);
}

}  // namespace
}  // namespace ostrel

#endif

// WinHTTP backend of the transport seam (Windows).
//
// Time-outs: WinHttpSetTimeouts gives name resolution, connect, send and each receive 5 s.
// WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT bounds the wait for the answer's headers as well, as
// some WinHTTP implementations otherwise wait for them without limit. The read loop stops at the
// total time-out. Redirects are disabled: following one would send the API key elsewhere.
// TransportOptions::ca_file is not supported here; the system trust store always applies.
#include "service/https_transport.h"

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "service/utf8_to_utf16.h"

namespace ostrel {
namespace {

// The one place that turns a WinHTTP failure into the error text; call it right after the
// failing call, before anything else can overwrite the thread's last error.
HostString winHttpError(const char* call) {
  const unsigned long code = static_cast<unsigned long>(GetLastError());
  return formatHostString("%s failed (GetLastError=%lu)", call, code);
}

// Closes its handle on scope exit; declared root, connection, request, so they close in the
// reverse order.
class Handle {
 public:
  explicit Handle(HINTERNET handle) noexcept : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ != nullptr) WinHttpCloseHandle(handle_);
  }
  HINTERNET get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// Reads the body until the server has no more, a read fails, the cap is reached or the exchange
// has run out of time.
void readBody(HINTERNET request, ULONGLONG started, std::string& body) {
  for (;;) {
    if (GetTickCount64() - started >= static_cast<ULONGLONG>(kTotalTimeoutMs)) return;
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available) || available == 0) return;
    const std::size_t room = kMaxBodyBytes - body.size();
    if (room == 0) return;
    const DWORD wanted = available > room ? static_cast<DWORD>(room) : available;
    const std::size_t old = body.size();
    body.resize(old + wanted);  // zero-filled
    DWORD read = 0;
    if (!WinHttpReadData(request, &body[old], wanted, &read) || read == 0) {
      body.resize(old);
      return;
    }
    body.resize(old + (read < wanted ? read : wanted));
  }
}

std::int32_t fetch(const DirectHttpsRequest& request, const TransportOptions& options,
                   DirectHttpsResult& result) {
  const ULONGLONG started = GetTickCount64();
  const char* server = options.server != nullptr ? options.server : request.server;
  const std::int32_t port = options.port != 0 ? options.port : request.port;
  const std::wstring agent = utf8ToUtf16(request.user_agent);

  Handle root(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                          WINHTTP_NO_PROXY_BYPASS, /*dwFlags=*/0));
  if (!root) {
    result.error = winHttpError("WinHttpOpen");
    return 0;
  }
  WinHttpSetTimeouts(root.get(), kPhaseTimeoutMs, kPhaseTimeoutMs, kPhaseTimeoutMs,
                     kPhaseTimeoutMs);

  const std::wstring server_w = utf8ToUtf16(server);
  Handle connection(WinHttpConnect(root.get(), server_w.c_str(), static_cast<INTERNET_PORT>(port),
                                   /*dwReserved=*/0));
  if (!connection) {
    result.error = winHttpError("WinHttpConnect");
    return 0;
  }

  const std::wstring path_w = utf8ToUtf16(request.path);
  Handle http(WinHttpOpenRequest(connection.get(), L"GET", path_w.c_str(), /*version=*/nullptr,
                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                 WINHTTP_FLAG_SECURE));
  if (!http) {
    result.error = winHttpError("WinHttpOpenRequest");
    return 0;
  }
  DWORD response_timeout = static_cast<DWORD>(kPhaseTimeoutMs);
  WinHttpSetOption(http.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_timeout,
                   sizeof response_timeout);
  DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(http.get(), WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects);

  const std::wstring headers_w = utf8ToUtf16(request.header_block);
  if (!WinHttpSendRequest(http.get(),
                          headers_w.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers_w.c_str(),
                          static_cast<DWORD>(headers_w.size()), WINHTTP_NO_REQUEST_DATA,
                          /*dwOptionalLength=*/0, /*dwTotalLength=*/0, /*dwContext=*/0) ||
      !WinHttpReceiveResponse(http.get(), /*lpReserved=*/nullptr)) {
    result.error = winHttpError("WinHttpSendRequest/ReceiveResponse");
    return 0;
  }

  DWORD status = 0;
  DWORD status_size = sizeof status;
  WinHttpQueryHeaders(http.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size, WINHTTP_NO_HEADER_INDEX);
  result.status = static_cast<std::uint32_t>(status);

  std::string body;
  readBody(http.get(), started, body);
  result.body.assign(body.c_str());  // ends at the first NUL byte
  result.ok = 1;
  return 1;
}

}  // namespace

std::int32_t httpsGet(const DirectHttpsRequest& request, const TransportOptions& options,
                      DirectHttpsResult& result) noexcept {
  try {
    return fetch(request, options, result);
  } catch (...) {
    // Only an allocation can throw here; the handles are closed by then.
    result.ok = 0;
    result.status = 0;
    result.body.clear();
    result.error = formatHostString("WinHttpOpen failed (GetLastError=%lu)",
                                    static_cast<unsigned long>(ERROR_NOT_ENOUGH_MEMORY));
    return 0;
  }
}

}  // namespace ostrel

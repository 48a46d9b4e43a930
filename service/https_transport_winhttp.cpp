// WinHTTP backend of the transport seam (Windows).
//
// Proxy: the system's settings (WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, Windows 8.1 and later),
// falling back to WinHTTP's default proxy setting where that access type is refused. TLS: 1.2
// and 1.3 asked for explicitly, or 1.2 alone where the system does not know 1.3.
//
// Time-outs: before each phase the handles get the phase time-out or what remains of the total,
// whichever is less (TimeBudget): name resolution, connect and send inside WinHttpSendRequest,
// the wait for the answer's headers (WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT as well, as some
// WinHTTP implementations otherwise wait for them without limit), and each body read. A phase
// that would start with the total spent does not start: before the answer that is a send/receive
// failure with ERROR_WINHTTP_TIMEOUT, during the body the end of the body.
//
// Redirects are disabled: following one would send the API key elsewhere.
// TransportOptions::ca_file is not supported here; the system trust store always applies.
#include "service/https_transport.h"

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "service/utf8_to_utf16.h"

namespace ostrel {
namespace {

constexpr const char* kSendReceive = "WinHttpSendRequest/ReceiveResponse";

// How far one exchange got, kept outside the exchange so that a failure anywhere (an
// allocation included) is reported against the phase under way.
struct Exchange {
  const char* call = "WinHttpOpen";  // the call that a failure now is reported against
  bool answered = false;             // the answer's headers arrived
  DWORD status = 0;
  std::string body;
};

// The one place that turns a WinHTTP failure into the error text; `code` is GetLastError()
// taken right after the failing call, before anything else can overwrite it.
std::int32_t failed(const Exchange& exchange, DWORD code, DirectHttpsResult& result) noexcept {
  result.ok = 0;
  result.status = 0;
  result.body.clear();
  result.error = formatHostString("%s failed (GetLastError=%lu)", exchange.call,
                                  static_cast<unsigned long>(code));
  return 0;
}

std::int32_t answered(const Exchange& exchange, DirectHttpsResult& result) noexcept {
  result.ok = 1;
  result.status = static_cast<std::uint32_t>(exchange.status);
  result.body.assign(exchange.body.c_str());  // ends at the first NUL byte
  result.error.clear();
  return 1;
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

HINTERNET openSession(const std::wstring& agent) {
  HINTERNET root = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                               WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, /*dwFlags=*/0);
  if (root != nullptr) return root;
  return WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                     WINHTTP_NO_PROXY_BYPASS, /*dwFlags=*/0);
}

bool setDword(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof value) != FALSE;
}

bool requireModernTls(HINTERNET root) {
  return setDword(root, WINHTTP_OPTION_SECURE_PROTOCOLS,
                  WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3) ||
         setDword(root, WINHTTP_OPTION_SECURE_PROTOCOLS, WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2);
}

// Gives the calls that follow `ms` at most. WinHttpSetTimeouts on the request handle reaches a
// connection already open (a receive time-out set as an option may apply only to the next
// one); the answer's headers have their own option. False when the total is spent.
bool limitNextPhase(HINTERNET request, std::int32_t ms) {
  if (ms <= 0) return false;
  WinHttpSetTimeouts(request, ms, ms, ms, ms);
  setDword(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(ms));
  return true;
}

// Reads the body until the server has no more, a read fails, the cap is reached or the exchange
// has run out of time.
void readBody(HINTERNET request, const TimeBudget& budget, std::string& body) {
  for (;;) {
    if (!limitNextPhase(request, budget.nextPhaseMs())) return;
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

std::int32_t runExchange(const DirectHttpsRequest& request, const TransportOptions& options,
                         DirectHttpsResult& result, Exchange& exchange) {
  const TimeBudget budget = exchangeBudget(options);
  const char* server = options.server != nullptr ? options.server : request.server;
  const std::int32_t port = options.port != 0 ? options.port : request.port;

  const std::wstring agent = utf8ToUtf16(request.user_agent);
  Handle root(openSession(agent));
  if (!root) return failed(exchange, GetLastError(), result);
  exchange.call = "WinHttpSetOption";
  if (!requireModernTls(root.get())) return failed(exchange, GetLastError(), result);

  exchange.call = "WinHttpConnect";
  const std::wstring server_w = utf8ToUtf16(server);
  Handle connection(WinHttpConnect(root.get(), server_w.c_str(), static_cast<INTERNET_PORT>(port),
                                   /*dwReserved=*/0));
  if (!connection) return failed(exchange, GetLastError(), result);

  exchange.call = "WinHttpOpenRequest";
  const std::wstring path_w = utf8ToUtf16(request.path);
  Handle http(WinHttpOpenRequest(connection.get(), L"GET", path_w.c_str(), /*version=*/nullptr,
                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                 WINHTTP_FLAG_SECURE));
  if (!http) return failed(exchange, GetLastError(), result);
  setDword(http.get(), WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS);

  exchange.call = kSendReceive;
  const std::wstring headers_w = utf8ToUtf16(request.header_block);
  // Resolution, connect and send each get at most what remains now.
  if (!limitNextPhase(http.get(), budget.nextPhaseMs())) {
    return failed(exchange, ERROR_WINHTTP_TIMEOUT, result);
  }
  if (!WinHttpSendRequest(http.get(),
                          headers_w.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers_w.c_str(),
                          static_cast<DWORD>(headers_w.size()), WINHTTP_NO_REQUEST_DATA,
                          /*dwOptionalLength=*/0, /*dwTotalLength=*/0, /*dwContext=*/0)) {
    return failed(exchange, GetLastError(), result);
  }
  if (!limitNextPhase(http.get(), budget.nextPhaseMs())) {
    return failed(exchange, ERROR_WINHTTP_TIMEOUT, result);
  }
  if (!WinHttpReceiveResponse(http.get(), /*lpReserved=*/nullptr)) {
    return failed(exchange, GetLastError(), result);
  }

  DWORD status = 0;
  DWORD status_size = sizeof status;
  WinHttpQueryHeaders(http.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size, WINHTTP_NO_HEADER_INDEX);
  exchange.status = status;
  exchange.answered = true;

  readBody(http.get(), budget, exchange.body);
  return answered(exchange, result);
}

}  // namespace

std::int32_t httpsGet(const DirectHttpsRequest& request, const TransportOptions& options,
                      DirectHttpsResult& result) noexcept {
  Exchange exchange;
  try {
    return runExchange(request, options, result, exchange);
  } catch (...) {
    // Only an allocation can throw here, and the handles are closed by now. After the answer's
    // headers it ends the body early; before them it fails the call under way.
    if (exchange.answered) return answered(exchange, result);
    return failed(exchange, ERROR_NOT_ENOUGH_MEMORY, result);
  }
}

}  // namespace ostrel

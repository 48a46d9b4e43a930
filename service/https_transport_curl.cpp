// libcurl backend of the transport seam (every platform but Windows).
//
// Time-outs: CURLOPT_TIMEOUT_MS holds the exchange's total, and libcurl gives every phase no
// more than what remains of it; within that, CURLOPT_CONNECTTIMEOUT_MS bounds name resolution,
// the TCP connect and the TLS handshake together, and the low-speed limit (less than 1 byte/s
// over one phase time-out, sampled once a second, so such a stall ends up to a second after
// the phase time-out) ends a send, or a wait for the answer or for more body, that makes no
// progress.
#include "service/https_transport.h"

#include <curl/curl.h>

#include <memory>
#include <string>

namespace ostrel {
namespace {

// What one exchange has reached, filled as it goes; the callbacks collect into it too.
struct Transfer {
  CURL* curl = nullptr;
  const char* call = "curl_easy_init";  // the call that a failure now is reported against
  const char* phase = "";               // for curl_easy_perform: how far the exchange got
  bool connected = false;               // the TCP connection stands; the TLS handshake begins
  bool secured = false;                 // the TLS handshake is done; the request goes out
  std::string body;
  bool headers_done = false;  // the final (non-1xx) response's header block has ended
  long status = 0;            // its status, once headers_done
};

// The one place that turns a libcurl failure into the error text.
HostString curlError(const Transfer& transfer, CURLcode code) {
  return formatHostString("%s failed%s (CURLcode=%d: %s)", transfer.call, transfer.phase,
                          static_cast<int>(code), curl_easy_strerror(code));
}

// The network phase in which a transfer that got no answer stopped. libcurl reports no timings
// for a failed transfer, so two callbacks note how far it got: the TLS context is set up once
// the TCP connection stands, and the pre-request callback runs once the handshake is done.
const char* failedPhase(const Transfer& transfer) {
  if (transfer.secured) return " while waiting for the answer";
  if (transfer.connected) return " during the TLS handshake";
  return " while connecting";
}

CURLcode noteConnected(CURL*, void*, void* user) {
  static_cast<Transfer*>(user)->connected = true;
  return CURLE_OK;
}

int noteSecured(void* user, char*, char*, int, int) {
  static_cast<Transfer*>(user)->secured = true;
  return CURL_PREREQFUNC_OK;
}

// The outcome once the answer's headers have arrived: whatever ended the transfer, the status
// and the body read so far (cut at its first NUL byte).
std::int32_t answered(const Transfer& transfer, DirectHttpsResult& result) noexcept {
  result.status = transfer.status > 0 ? static_cast<std::uint32_t>(transfer.status) : 0u;
  result.body.assign(transfer.body.c_str());
  result.error.clear();
  result.ok = 1;
  return 1;
}

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  Transfer& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const size_t room = kMaxBodyBytes - transfer.body.size();
  try {
    if (bytes > room) {
      transfer.body.append(data, room);
      return 0;  // ends the transfer with CURLE_WRITE_ERROR
    }
    transfer.body.append(data, bytes);
  } catch (...) {
    return 0;
  }
  return bytes;
}

size_t watchHeaders(char* data, size_t size, size_t count, void* user) {
  Transfer& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const bool blank =
      (bytes == 2 && data[0] == '\r' && data[1] == '\n') || (bytes == 1 && data[0] == '\n');
  if (blank) {
    // An interim 1xx answer ends with a blank line too; only the final one counts.
    long status = 0;
    curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 200) {
      transfer.status = status;
      transfer.headers_done = true;
    }
  }
  return bytes;
}

struct SlistFree {
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
struct EasyCleanup {
  void operator()(CURL* curl) const noexcept { curl_easy_cleanup(curl); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistFree>;

// Splits "Name: value\r\n" lines into a header list; false on allocation failure.
bool appendHeaders(const char* block, HeaderList& list) {
  std::string line;
  for (const char* p = block != nullptr ? block : "";; ++p) {
    const bool end = *p == '\0';
    const bool crlf = !end && p[0] == '\r' && p[1] == '\n';
    if (end || crlf) {
      if (!line.empty()) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (grown == nullptr) return false;
        // curl_slist_append hands back the (possibly same) head: the new owner takes it.
        static_cast<void>(list.release());
        list.reset(grown);
      }
      if (end) return true;
      line.clear();
      ++p;
    } else {
      line.push_back(*p);
    }
  }
}

// Sets every option of the request; the first failure ends the setup.
CURLcode configure(CURL* curl, const std::string& url, const DirectHttpsRequest& request,
                   const TransportOptions& options, const TimeBudget& budget, curl_slist* headers,
                   Transfer& transfer) {
  CURLcode rc = CURLE_OK;
  auto set = [&](CURLoption option, auto value) {
    if (rc == CURLE_OK) rc = curl_easy_setopt(curl, option, value);
  };
  set(CURLOPT_URL, url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
  set(CURLOPT_PROTOCOLS_STR, "https");
#else
  set(CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTPS));
#endif
  set(CURLOPT_HTTPGET, 1L);
  set(CURLOPT_FOLLOWLOCATION, 0L);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_SSL_VERIFYPEER, 1L);
  set(CURLOPT_SSL_VERIFYHOST, 2L);
  set(CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  if (options.ca_file != nullptr) set(CURLOPT_CAINFO, options.ca_file);
  set(CURLOPT_USERAGENT, request.user_agent != nullptr ? request.user_agent : "");
  set(CURLOPT_HTTPHEADER, headers);
  set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(budget.nextPhaseMs()));
  set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  const long low_speed_seconds = budget.phaseMs() / 1000;
  set(CURLOPT_LOW_SPEED_TIME, low_speed_seconds > 0 ? low_speed_seconds : 1L);
  set(CURLOPT_TIMEOUT_MS, static_cast<long>(budget.totalMs()));
  set(CURLOPT_WRITEFUNCTION, &collectBody);
  set(CURLOPT_WRITEDATA, static_cast<void*>(&transfer));
  set(CURLOPT_HEADERFUNCTION, &watchHeaders);
  set(CURLOPT_HEADERDATA, static_cast<void*>(&transfer));
  set(CURLOPT_SSL_CTX_FUNCTION, &noteConnected);
  set(CURLOPT_SSL_CTX_DATA, static_cast<void*>(&transfer));
  set(CURLOPT_PREREQFUNCTION, &noteSecured);
  set(CURLOPT_PREREQDATA, static_cast<void*>(&transfer));
  return rc;
}

std::int32_t fetch(const DirectHttpsRequest& request, const TransportOptions& options,
                   DirectHttpsResult& result, Transfer& transfer) {
  const TimeBudget budget = exchangeBudget(options);
  const char* server = options.server != nullptr ? options.server : request.server;
  const std::int32_t port = options.port != 0 ? options.port : request.port;
  std::string url = "https://";
  url += server != nullptr ? server : "";
  url += ':';
  url += std::to_string(port);
  url += request.path != nullptr ? request.path : "/";

  std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
  if (!curl) {
    result.error = curlError(transfer, CURLE_FAILED_INIT);
    return 0;
  }
  transfer.curl = curl.get();
  transfer.call = "curl_slist_append";
  HeaderList headers;
  if (!appendHeaders(request.header_block, headers)) {
    result.error = curlError(transfer, CURLE_OUT_OF_MEMORY);
    return 0;
  }
  transfer.call = "curl_easy_setopt";
  const CURLcode setup =
      configure(curl.get(), url, request, options, budget, headers.get(), transfer);
  if (setup != CURLE_OK) {
    result.error = curlError(transfer, setup);
    return 0;
  }
  transfer.call = "curl_easy_perform";
  const CURLcode performed = curl_easy_perform(curl.get());
  // A failure after the answer's headers (a read error, the body cap, the total time-out) keeps
  // the status and what was read.
  if (performed != CURLE_OK && !transfer.headers_done) {
    transfer.phase = failedPhase(transfer);
    result.error = curlError(transfer, performed);
    return 0;
  }
  if (!transfer.headers_done) {
    // Succeeded without a final header block (cannot happen over HTTP/1.1 or 2); take the code.
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &transfer.status);
  }
  return answered(transfer, result);
}

}  // namespace

std::int32_t httpsGet(const DirectHttpsRequest& request, const TransportOptions& options,
                      DirectHttpsResult& result) noexcept {
  Transfer transfer;
  try {
    return fetch(request, options, result, transfer);
  } catch (...) {
    // Only an allocation can throw here. After the answer's headers it ends the body early;
    // before them it is the failure of the call under way.
    if (transfer.headers_done) return answered(transfer, result);
    result.ok = 0;
    result.status = 0;
    result.body.clear();
    result.error = curlError(transfer, CURLE_OUT_OF_MEMORY);
    return 0;
  }
}

}  // namespace ostrel
